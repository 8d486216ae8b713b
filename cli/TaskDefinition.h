#pragma once
// A scheduled cleaning as the Task Scheduler holds it: the task's XML
// definition (Task Scheduler 2.0 schema) and what `schedule list` reads back
// from it. Text only; nothing here changes the machine.
#include <optional>
#include <string>
#include <vector>

#include "cli/ScheduleOptions.h"

struct TaskIdentity {
    std::wstring program;  // the full path of the brisko-cli.exe the task starts
    std::wstring user;     // DOMAIN\name of the user it runs as
    std::wstring folder;   // its working folder: the current one of `schedule add`
};

// brisko-cli's arguments with the file each of --report, --rules and
// --keep-cookies-file names made a full path against `folder`: a task
// starts in a folder of the scheduler's choosing unless told.
std::vector<std::wstring> WithFullPaths(std::vector<std::wstring> arguments, const std::wstring& folder);

// The definition of `request`'s task: brisko-cli.exe with its arguments
// quoted for the command line, as the user with least privilege, only while
// the user is logged on (no password is stored), with the conditions asked.
std::wstring TaskXml(const ScheduleRequest& request, const TaskIdentity& identity);

// A task of the \Brisko folder as `schedule list` shows it.
struct ListedTask {
    std::wstring name;
    ScheduleRequest request;  // when, conditions and the arguments, split back
    std::wstring program;
    std::wstring folder;  // the working folder; "" when the task has none
};
// The task read back from its XML; nothing when it runs no program (the
// definition of a task that is not ours, or one that a scheduler kept only in part).
std::optional<ListedTask> ReadTaskXml(const std::wstring& name, const std::wstring& xml);

// "daily 03:30", "weekly Monday 03:30", "at logon", with ", on AC power" and
// ", when idle" as asked.
std::wstring WhenText(const ScheduleRequest& request);

// The %NAME% references in the arguments, each once, in their order: the
// Task Scheduler puts each variable's value in its place when the task runs.
std::vector<std::wstring> VariablesExpandedAtRun(const std::vector<std::wstring>& arguments);

// What a task runs, as a command line: the program quoted as it needs and
// its arguments, then "  (in FOLDER)" for its working folder and, where the
// arguments name variables, "; Windows expands %TEMP% as the task runs".
std::wstring RunText(const ListedTask& task);
