#include "cli/ScheduleCommand.h"

#include <utility>

#include "cli/Output.h"
#include "cli/PolicyChecks.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::wstring TaskJson(const ListedTask& task) {
    const ScheduleRequest& r = task.request;
    using When = ScheduleRequest::When;
    wchar_t time[8];
    swprintf(time, 8, L"%02d:%02d", r.hour, r.minute);
    std::wstring arguments, expanded;
    for (const std::wstring& argument : r.arguments) arguments += (arguments.empty() ? L"" : L",") + JsonString(argument);
    for (const std::wstring& name : VariablesExpandedAtRun(r.arguments))
        expanded += (expanded.empty() ? L"" : L",") + JsonString(name);
    return L"{\"name\":" + JsonString(task.name) + L",\"when\":" +
           (r.when == When::AtLogon ? L"\"logon\"" : r.when == When::Daily ? L"\"daily\"" : L"\"weekly\"") +
           L",\"day\":" + (r.when == When::Weekly ? JsonString(WeekdayName(r.weekday)) : L"null") + L",\"time\":" +
           (r.when == When::AtLogon ? L"null" : JsonString(time)) + L",\"onAc\":" + (r.onAc ? L"true" : L"false") +
           L",\"whenIdle\":" + (r.whenIdle ? L"true" : L"false") + L",\"program\":" + JsonString(task.program) +
           L",\"folder\":" + (task.folder.empty() ? L"null" : JsonString(task.folder)) +
           L",\"arguments\":[" + arguments + L"],\"expandedAtRun\":[" + expanded + L"]}";
}

int Add(ScheduleRequest request, CConsole& console, ITaskStore& store, const Policies& policies,
        const TaskIdentity& identity) {
    request.arguments = WithFullPaths(std::move(request.arguments), identity.folder);
    // A task that its policies would refuse when it runs is refused now.
    std::wstring refusal = PolicyRefusal(ParseCommandLine(request.arguments).options, policies);
    if (!refusal.empty()) {
        console.Err(L"brisko-cli: " + refusal);
        return kExitUsage;
    }
    std::wstring error = store.Register(request.name, TaskXml(request, identity));
    if (!error.empty()) {
        console.Err(L"brisko-cli: schedule add: " + error);
        return kExitFailed;
    }
    console.Out(L"scheduled \\Brisko\\" + request.name + L": " + WhenText(request) + L": " +
                RunText({request.name, request, identity.program, identity.folder}));
    return kExitOk;
}

int List(bool json, CConsole& console, ITaskStore& store) {
    std::wstring error;
    for (const auto& [name, xml] : store.Tasks(error)) {
        std::optional<ListedTask> task = ReadTaskXml(name, xml);
        if (!task) console.Out(json ? L"{\"name\":" + JsonString(name) + L",\"when\":null}" : name + L"  (not a Brisko cleaning)");
        else console.Out(json ? TaskJson(*task) : name + L"  " + WhenText(task->request) + L"  " + RunText(*task));
    }
    if (error.empty()) return kExitOk;
    console.Err(L"brisko-cli: schedule list: " + error);
    return kExitFailed;
}

int Remove(const std::wstring& name, CConsole& console, ITaskStore& store) {
    bool missing = false;
    std::wstring error = store.Remove(name, missing);
    if (error.empty()) {
        console.Out(L"removed \\Brisko\\" + name);
        return kExitOk;
    }
    console.Err(L"brisko-cli: schedule remove: " + error);
    return missing ? kExitUsage : kExitFailed;
}

}  // namespace

int RunScheduleCommand(const CliOptions& options, CConsole& console, ITaskStore& store, const Policies& policies,
                       const TaskIdentity& identity) {
    switch (options.schedule.action) {
    case ScheduleRequest::Action::Add:
        return Add(options.schedule, console, store, policies, identity);
    case ScheduleRequest::Action::Remove:
        return Remove(options.schedule.name, console, store);
    default:
        return List(options.json, console, store);
    }
}
