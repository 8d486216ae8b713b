#pragma once
// "brisko-cli schedule add|list|remove": what a scheduled cleaning is, read
// from the command line. Nothing here touches the machine.
#include <string>
#include <vector>

struct ScheduleRequest {
    enum class Action { Add, List, Remove } action = Action::List;
    enum class When { Daily, Weekly, AtLogon } when = When::Daily;
    std::wstring name;     // the task's name in the \Brisko folder
    int hour = 0;          // Daily and Weekly
    int minute = 0;
    int weekday = 0;       // Weekly: 0 Sunday ... 6 Saturday
    bool onAc = false;     // starts only on AC power, stops when the battery takes over
    bool whenIdle = false; // starts only when the machine is idle
    std::vector<std::wstring> arguments;  // brisko-cli's own, after "--"
};

// The English day names, Sunday first, as the command line and the task take them.
const wchar_t* WeekdayName(int weekday);

// Reads the words after "schedule"; "" when they are sound, else why not.
// The task's own arguments are the command line's reader's to check
// (ParseCommandLine), as a direct call's are.
std::wstring ParseScheduleArguments(const std::vector<std::wstring>& words, ScheduleRequest& request);
