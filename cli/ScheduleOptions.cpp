#include "cli/ScheduleOptions.h"

#include <cwctype>

namespace {

const wchar_t* const kDays[] = {L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};

bool ReadTime(const std::wstring& text, ScheduleRequest& request) {
    if (text.size() != 5 || text[2] != L':') return false;
    for (size_t i : {0u, 1u, 3u, 4u})
        if (!std::iswdigit(text[i])) return false;
    request.hour = (text[0] - L'0') * 10 + (text[1] - L'0');
    request.minute = (text[3] - L'0') * 10 + (text[4] - L'0');
    return request.hour < 24 && request.minute < 60;
}

bool ReadDay(const std::wstring& text, ScheduleRequest& request) {
    for (int day = 0; day < 7; ++day)
        if (text.size() >= 3 && _wcsnicmp(kDays[day], text.c_str(), text.size()) == 0 && text.size() <= wcslen(kDays[day])) {
            request.weekday = day;
            return true;
        }
    return false;
}

// A name the Task Scheduler takes as one task of the folder.
bool IsTaskName(const std::wstring& name) {
    return !name.empty() && name.size() <= 200 && name.find_first_of(L"\\/<>:\"|?*") == std::wstring::npos &&
           name.find_first_not_of(L" .") != std::wstring::npos;
}

std::wstring ParseAdd(const std::vector<std::wstring>& words, ScheduleRequest& request) {
    if (words.size() < 2 || words[1].rfind(L"--", 0) == 0) return L"schedule add needs a task name";
    request.name = words[1];
    if (!IsTaskName(request.name)) return L"\"" + request.name + L"\" cannot name a task: no \\ / < > : \" | ? *";
    int whens = 0;
    size_t i = 2;
    for (; i < words.size() && words[i] != L"--"; ++i) {
        const std::wstring& word = words[i];
        auto next = [&]() -> const std::wstring* { return i + 1 < words.size() ? &words[++i] : nullptr; };
        if (word == L"--daily") {
            const std::wstring* time = next();
            if (!time || !ReadTime(*time, request)) return L"--daily needs a time HH:MM, such as 03:30";
            request.when = ScheduleRequest::When::Daily;
            ++whens;
        } else if (word == L"--weekly") {
            const std::wstring* day = next();
            if (!day || !ReadDay(*day, request)) return L"--weekly needs a day, such as Monday, and a time HH:MM";
            const std::wstring* time = next();
            if (!time || !ReadTime(*time, request)) return L"--weekly needs a day and a time HH:MM, such as 03:30";
            request.when = ScheduleRequest::When::Weekly;
            ++whens;
        } else if (word == L"--at-logon") {
            request.when = ScheduleRequest::When::AtLogon;
            ++whens;
        } else if (word == L"--on-ac") {
            request.onAc = true;
        } else if (word == L"--when-idle") {
            request.whenIdle = true;
        } else {
            return L"unknown option \"" + word + L"\" for \"schedule add\" (see --help)";
        }
    }
    if (whens != 1) return L"schedule add needs one of --daily HH:MM, --weekly DAY HH:MM or --at-logon";
    if (i < words.size()) request.arguments.assign(words.begin() + static_cast<ptrdiff_t>(i) + 1, words.end());
    if (request.arguments.empty())
        return L"schedule add needs the arguments of the task after \"--\", such as: -- clean --mode standard --recycle";
    return {};
}

}  // namespace

const wchar_t* WeekdayName(int weekday) { return kDays[weekday >= 0 && weekday < 7 ? weekday : 0]; }

std::wstring ParseScheduleArguments(const std::vector<std::wstring>& words, ScheduleRequest& request) {
    const std::wstring action = words.empty() ? std::wstring() : words[0];
    if (action == L"add") {
        request.action = ScheduleRequest::Action::Add;
        return ParseAdd(words, request);
    }
    if (action == L"list") {
        request.action = ScheduleRequest::Action::List;
        return words.size() == 1 || (words.size() == 2 && words[1] == L"--json") ? L"" : L"schedule list takes only --json";
    }
    if (action == L"remove") {
        request.action = ScheduleRequest::Action::Remove;
        if (words.size() != 2 || !IsTaskName(words[1])) return L"schedule remove needs the name of one task";
        request.name = words[1];
        return {};
    }
    return L"schedule needs add, list or remove (see --help)";
}
