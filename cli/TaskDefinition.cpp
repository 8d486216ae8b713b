#include "cli/TaskDefinition.h"

#include <algorithm>
#include <cstdio>

#include "win/CommandLine.h"
#include "win/Path.h"

namespace {

std::wstring XmlText(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case L'"': out += L"&quot;"; break;
        case L'\'': out += L"&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

// The text of an element's character data with its references resolved.
std::wstring UnescapeXml(const std::wstring& text) {
    static const struct {
        const wchar_t* entity;
        wchar_t c;
    } kEntities[] = {{L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&apos;", L'\''}};
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') {
            out += text[i];
            continue;
        }
        size_t end = text.find(L';', i);
        std::wstring reference = text.substr(i, end == std::wstring::npos ? 0 : end - i + 1);
        bool known = false;
        for (const auto& entity : kEntities) {
            if (reference != entity.entity) continue;
            out += entity.c;
            known = true;
        }
        if (!known && reference.size() > 3 && reference[1] == L'#') {
            bool hex = reference[2] == L'x';
            out += static_cast<wchar_t>(wcstoul(reference.c_str() + (hex ? 3 : 2), nullptr, hex ? 16 : 10));
            known = true;
        }
        if (known) i = end;
        else out += text[i];
    }
    return out;
}

// The character data of the first element `name` of `xml`; nothing when it is absent.
std::optional<std::wstring> ElementText(const std::wstring& xml, const std::wstring& name) {
    size_t open = xml.find(L"<" + name + L">");
    if (open == std::wstring::npos) return xml.find(L"<" + name + L"/>") != std::wstring::npos ||
                                                   xml.find(L"<" + name + L" />") != std::wstring::npos
                                               ? std::optional<std::wstring>(L"")
                                               : std::nullopt;
    size_t start = open + name.size() + 2;
    size_t close = xml.find(L"</" + name + L">", start);
    if (close == std::wstring::npos) return std::nullopt;
    return UnescapeXml(xml.substr(start, close - start));
}

bool Has(const std::wstring& xml, const std::wstring& name) { return ElementText(xml, name).has_value(); }

std::wstring Flag(bool on) { return on ? L"true" : L"false"; }

std::wstring TimeText(int hour, int minute) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%02d:%02d", hour, minute);
    return text;
}

std::wstring Trigger(const ScheduleRequest& request, const TaskIdentity& identity) {
    using When = ScheduleRequest::When;
    if (request.when == When::AtLogon)
        return L"    <LogonTrigger>\n      <Enabled>true</Enabled>\n      <UserId>" + XmlText(identity.user) +
               L"</UserId>\n    </LogonTrigger>\n";
    // A start in the past makes the trigger count from its first day on.
    std::wstring start = L"2000-01-02T" + TimeText(request.hour, request.minute) + L":00";
    std::wstring schedule =
        request.when == When::Daily
            ? L"      <ScheduleByDay>\n        <DaysInterval>1</DaysInterval>\n      </ScheduleByDay>\n"
            : L"      <ScheduleByWeek>\n        <DaysOfWeek>\n          <" + std::wstring(WeekdayName(request.weekday)) +
                  L" />\n        </DaysOfWeek>\n        <WeeksInterval>1</WeeksInterval>\n      </ScheduleByWeek>\n";
    return L"    <CalendarTrigger>\n      <StartBoundary>" + start + L"</StartBoundary>\n      <Enabled>true</Enabled>\n" +
           schedule + L"    </CalendarTrigger>\n";
}

// The options whose value is a file; a relative one is read from the working folder.
bool TakesFile(const std::wstring& option) {
    return option == L"--report" || option == L"--rules" || option == L"--entries-from" ||
           option == L"--keep-cookies-file";
}

// `path` made full against `folder`; one that starts at a root or names a
// drive is left to the platform, which knows the current folder of each drive.
std::wstring FullPathFrom(const std::wstring& folder, const std::wstring& path) {
    if (IsFullPath(path)) return path;
    const bool rooted = !path.empty() && (path[0] == L'\\' || path[0] == L'/' || (path.size() > 1 && path[1] == L':'));
    return CurrentFullPath(rooted || folder.empty() ? path : JoinPath(folder, path));
}

}  // namespace

std::vector<std::wstring> WithFullPaths(std::vector<std::wstring> arguments, const std::wstring& folder) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        // A path that starts with a variable is a full one once Windows
        // expands it as the task runs: it stays as given.
        const std::wstring& argument = arguments[i];
        const bool startsWithVariable = !argument.empty() && argument[0] == L'%' && argument.find(L'%', 1) != std::wstring::npos;
        if (i > 0 && TakesFile(arguments[i - 1]) && !argument.empty() && !startsWithVariable)
            arguments[i] = FullPathFrom(folder, argument);
    }
    return arguments;
}

std::wstring TaskXml(const ScheduleRequest& request, const TaskIdentity& identity) {
    return L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
           L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
           L"  <RegistrationInfo>\n    <Author>" + XmlText(identity.user) + L"</Author>\n"
           L"    <Description>Brisko scheduled cleaning</Description>\n  </RegistrationInfo>\n"
           L"  <Triggers>\n" + Trigger(request, identity) + L"  </Triggers>\n"
           L"  <Principals>\n    <Principal id=\"Author\">\n      <UserId>" + XmlText(identity.user) + L"</UserId>\n"
           L"      <LogonType>InteractiveToken</LogonType>\n      <RunLevel>LeastPrivilege</RunLevel>\n"
           L"    </Principal>\n  </Principals>\n"
           L"  <Settings>\n    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
           L"    <DisallowStartIfOnBatteries>" + Flag(request.onAc) + L"</DisallowStartIfOnBatteries>\n"
           L"    <StopIfGoingOnBatteries>" + Flag(request.onAc) + L"</StopIfGoingOnBatteries>\n"
           L"    <StartWhenAvailable>true</StartWhenAvailable>\n"
           L"    <IdleSettings>\n      <StopOnIdleEnd>false</StopOnIdleEnd>\n      <RestartOnIdle>false</RestartOnIdle>\n"
           L"    </IdleSettings>\n"
           L"    <Enabled>true</Enabled>\n    <RunOnlyIfIdle>" + Flag(request.whenIdle) + L"</RunOnlyIfIdle>\n"
           L"    <ExecutionTimeLimit>PT4H</ExecutionTimeLimit>\n  </Settings>\n"
           L"  <Actions Context=\"Author\">\n    <Exec>\n      <Command>" + XmlText(identity.program) + L"</Command>\n"
           L"      <Arguments>" + XmlText(win::JoinCommandLine(request.arguments)) + L"</Arguments>\n" +
           (identity.folder.empty() ? L""
                                    : L"      <WorkingDirectory>" + XmlText(identity.folder) + L"</WorkingDirectory>\n") +
           L"    </Exec>\n  </Actions>\n</Task>\n";
}

std::optional<ListedTask> ReadTaskXml(const std::wstring& name, const std::wstring& xml) {
    std::optional<std::wstring> program = ElementText(xml, L"Command");
    if (!program || program->empty()) return std::nullopt;
    ListedTask task;
    task.name = name;
    task.program = *program;
    task.folder = ElementText(xml, L"WorkingDirectory").value_or(L"");
    ScheduleRequest& request = task.request;
    request.name = name;
    request.arguments = win::SplitCommandLine((L"x " + ElementText(xml, L"Arguments").value_or(L"")).c_str());
    request.onAc = ElementText(xml, L"DisallowStartIfOnBatteries").value_or(L"true") == L"true";
    request.whenIdle = ElementText(xml, L"RunOnlyIfIdle").value_or(L"false") == L"true";
    if (Has(xml, L"LogonTrigger")) {
        request.when = ScheduleRequest::When::AtLogon;
        return task;
    }
    request.when = Has(xml, L"ScheduleByWeek") ? ScheduleRequest::When::Weekly : ScheduleRequest::When::Daily;
    std::wstring start = ElementText(xml, L"StartBoundary").value_or(L"");
    if (size_t t = start.find(L'T'); t != std::wstring::npos && start.size() >= t + 6) {
        request.hour = _wtoi(start.substr(t + 1, 2).c_str());
        request.minute = _wtoi(start.substr(t + 4, 2).c_str());
    }
    for (int day = 0; day < 7; ++day)
        if (Has(xml, WeekdayName(day))) request.weekday = day;
    return task;
}

std::wstring WhenText(const ScheduleRequest& request) {
    using When = ScheduleRequest::When;
    std::wstring text = request.when == When::AtLogon ? L"at logon"
                        : request.when == When::Daily
                            ? L"daily " + TimeText(request.hour, request.minute)
                            : L"weekly " + std::wstring(WeekdayName(request.weekday)) + L" " +
                                  TimeText(request.hour, request.minute);
    if (request.onAc) text += L", on AC power";
    if (request.whenIdle) text += L", when idle";
    return text;
}

std::vector<std::wstring> VariablesExpandedAtRun(const std::vector<std::wstring>& arguments) {
    std::vector<std::wstring> names;
    for (const std::wstring& argument : arguments) {
        for (size_t open = argument.find(L'%'); open != std::wstring::npos;) {
            const size_t close = argument.find(L'%', open + 1);
            if (close == std::wstring::npos) break;
            const std::wstring name = argument.substr(open, close - open + 1);
            const bool plain = close > open + 1 && name.find_first_of(L" \\/\"") == std::wstring::npos;
            if (!plain) {
                open = close;  // "%%" or "100% of %X%": the second sign may open a name
                continue;
            }
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
            open = argument.find(L'%', close + 1);
        }
    }
    return names;
}

std::wstring RunText(const ListedTask& task) {
    std::wstring text = win::JoinCommandLine({task.program});
    if (!task.request.arguments.empty()) text += L" " + win::JoinCommandLine(task.request.arguments);
    std::wstring notes = task.folder.empty() ? L"" : L"in " + task.folder;
    std::wstring expanded;
    for (const std::wstring& name : VariablesExpandedAtRun(task.request.arguments))
        expanded += (expanded.empty() ? L"" : L", ") + name;
    if (!expanded.empty()) notes += std::wstring(notes.empty() ? L"" : L"; ") + L"Windows expands " + expanded + L" as the task runs";
    return notes.empty() ? text : text + L"  (" + notes + L")";
}
