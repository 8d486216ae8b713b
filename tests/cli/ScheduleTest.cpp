// Scheduled cleanings: the task definition that is registered (through a
// recording store: Wine's Task Scheduler keeps neither the action nor the
// triggers of a task and cannot list a folder), and the machine's Task
// Scheduler registering and removing a task.
#include <gtest/gtest.h>
#include <windows.h>
#include <taskschd.h>

#include <map>

#include "cli/CliRun.h"
#include "cli/ScheduleCommand.h"
#include "support/XmlTree.h"
#include "win/ComInit.h"
#include "win/ComPtr.h"

using namespace testing_support;

namespace {

class RecordingStore : public ITaskStore {
public:
    std::wstring Register(const std::wstring& name, const std::wstring& xml) override {
        tasks[name] = xml;
        return {};
    }
    std::vector<std::pair<std::wstring, std::wstring>> Tasks(std::wstring&) override {
        return {tasks.begin(), tasks.end()};
    }
    std::wstring Remove(const std::wstring& name, bool& missing) override {
        missing = tasks.erase(name) == 0;
        return missing ? L"no task" : L"";
    }
    std::map<std::wstring, std::wstring> tasks;
};

using Words = std::vector<std::wstring>;

int Schedule(const Words& words, RecordingStore& store, const Policies& policies = {},
             const std::wstring& folder = L"") {
    ParsedCommandLine parsed = ParseCommandLine(words);
    if (!parsed.error.empty()) return 2;
    CConsole console;
    return RunScheduleCommand(parsed.options, console, store, policies,
                              {L"C:\\Program Files\\Brisko\\brisko-cli.exe", L"OFFICE\\ann", folder});
}

std::wstring Text(const XmlElement& root, const wchar_t* name) {
    std::vector<const XmlElement*> found = root.All(name);
    return found.size() == 1 ? found[0]->text : L"(" + std::to_wstring(found.size()) + L" found)";
}

bool IsRegistered(const std::wstring& name) {
    win::ComInit com(COINIT_MULTITHREADED);
    win::ComPtr<ITaskService> service;
    win::ComPtr<ITaskFolder> folder;
    win::ComPtr<IRegisteredTask> task;
    VARIANT empty;
    ::VariantInit(&empty);
    return SUCCEEDED(::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                        service.PutVoid())) &&
           SUCCEEDED(service->Connect(empty, empty, empty, empty)) &&
           SUCCEEDED(service->GetFolder(win::Bstr(L"\\Brisko").Get(), folder.Put())) &&
           SUCCEEDED(folder->GetTask(win::Bstr(name).Get(), task.Put()));
}

}  // namespace

TEST(Schedule, ArgumentsWithSpacesQuotesAndMarkupSurviveTheTaskDefinitionAndTheListing) {
    const Words arguments = {L"clean", L"--mode", L"standard", L"--recycle", L"--rules",
                             L"C:\\Rules Folder\\my \"best\" rules.ini", L"--entry", L"Chrome \"Cache\" *",
                             L"--entry", L"Temp Files", L"--include", L"C:\\a b\\", L"--exclude",
                             L"*&<>'\\\"x"};
    Words add = {L"schedule", L"add", L"nightly clean", L"--weekly", L"mon", L"03:30", L"--on-ac", L"--"};
    add.insert(add.end(), arguments.begin(), arguments.end());
    RecordingStore store;
    ASSERT_EQ(Schedule(add, store), 0);
    ASSERT_EQ(store.tasks.count(L"nightly clean"), 1u);

    std::wstring error;
    std::optional<XmlElement> task = ReadXmlText(store.tasks[L"nightly clean"], error);
    ASSERT_TRUE(task) << error.c_str();
    EXPECT_EQ(task->name, L"Task");
    EXPECT_EQ(task->namespaceUri, L"http://schemas.microsoft.com/windows/2004/02/mit/task");
    const struct {
        const wchar_t* element;
        const wchar_t* text;
    } expected[] = {
        {L"Command", L"C:\\Program Files\\Brisko\\brisko-cli.exe"}, {L"RunLevel", L"LeastPrivilege"},
        {L"LogonType", L"InteractiveToken"},  {L"DisallowStartIfOnBatteries", L"true"},
        {L"RunOnlyIfIdle", L"false"},         {L"StartBoundary", L"2000-01-02T03:30:00"},
        {L"Monday", L""},                     {L"UserId", L"OFFICE\\ann"},
    };
    for (const auto& e : expected) EXPECT_EQ(Text(*task, e.element), e.text) << e.element;
    // What the Task Scheduler hands to the program's command line.
    int count = 0;
    LPWSTR* split = ::CommandLineToArgvW((L"brisko-cli.exe " + Text(*task, L"Arguments")).c_str(), &count);
    EXPECT_EQ(Words(split + 1, split + count), arguments);
    ::LocalFree(split);

    std::optional<ListedTask> listed = ReadTaskXml(L"nightly clean", store.tasks[L"nightly clean"]);
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->request.arguments, arguments);
    EXPECT_EQ(WhenText(listed->request), L"weekly Monday 03:30, on AC power");

    EXPECT_EQ(Schedule({L"schedule", L"remove", L"nightly clean"}, store), 0);
    EXPECT_TRUE(store.tasks.empty());
    EXPECT_EQ(Schedule({L"schedule", L"remove", L"nightly clean"}, store), 2);
}

// A task starts in a folder of the scheduler's choosing: the files its
// arguments name are stored as full paths, and it runs where it was added.
TEST(Schedule, RelativeFilesAreStoredFullAndTheTaskRunsInTheFolderItWasAddedIn) {
    const std::wstring folder = L"C:\\Work Folder";
    const struct {
        Words given, stored;
    } cases[] = {
        {{L"clean", L"--mode", L"standard", L"--recycle", L"--report", L"r.json"},
         {L"clean", L"--mode", L"standard", L"--recycle", L"--report", L"C:\\Work Folder\\r.json"}},
        {{L"clean", L"--mode", L"standard", L"--recycle", L"--report", L"..\\out\\r.json", L"--rules", L".\\my.ini"},
         {L"clean", L"--mode", L"standard", L"--recycle", L"--report", L"C:\\out\\r.json", L"--rules",
          L"C:\\Work Folder\\my.ini"}},
        // The entries chosen go with the command: by name, or in a list of them.
        {{L"clean", L"--mode", L"standard", L"--recycle", L"--rules", L"my.ini", L"--entry", L"App Cache",
          L"--entries-from", L"chosen.txt"},
         {L"clean", L"--mode", L"standard", L"--recycle", L"--rules", L"C:\\Work Folder\\my.ini", L"--entry",
          L"App Cache", L"--entries-from", L"C:\\Work Folder\\chosen.txt"}},
        {{L"browsers", L"clean", L"--keep-cookies-file", L"sites.txt"},
         {L"browsers", L"clean", L"--keep-cookies-file", L"C:\\Work Folder\\sites.txt"}},
        // Full paths and globs stay as given.
        {{L"clean", L"--mode", L"standard", L"--recycle", L"--report", L"D:\\r.json", L"--include", L"logs\\*.log"},
         {L"clean", L"--mode", L"standard", L"--recycle", L"--report", L"D:\\r.json", L"--include", L"logs\\*.log"}},
        {{L"scan", L"--rules", L"\\\\server\\share\\my.ini"}, {L"scan", L"--rules", L"\\\\server\\share\\my.ini"}},
        // A path that starts with a variable is full once Windows expands it.
        {{L"scan", L"--rules", L"%AppData%\\my.ini"}, {L"scan", L"--rules", L"%AppData%\\my.ini"}},
    };
    for (const auto& c : cases) {
        Words add = {L"schedule", L"add", L"relative", L"--daily", L"02:00", L"--"};
        add.insert(add.end(), c.given.begin(), c.given.end());
        RecordingStore store;
        EXPECT_EQ(Schedule(add, store, {}, folder), 0) << win::ToNarrow(c.given.back());
        std::optional<ListedTask> listed = ReadTaskXml(L"relative", store.tasks[L"relative"]);
        ASSERT_TRUE(listed);
        EXPECT_EQ(listed->request.arguments, c.stored) << win::ToNarrow(c.given.back());
        EXPECT_EQ(listed->folder, folder);
    }
    RecordingStore store;
    const Words add = {L"schedule", L"add", L"n",         L"--at-logon", L"--",        L"clean",
                       L"--mode",   L"standard", L"--recycle", L"--report", L"r.json"};
    ASSERT_EQ(Schedule(add, store, {}, folder), 0);
    std::optional<ListedTask> listed = ReadTaskXml(L"n", store.tasks[L"n"]);
    ASSERT_TRUE(listed);
    EXPECT_EQ(RunText(*listed), L"\"C:\\Program Files\\Brisko\\brisko-cli.exe\" clean --mode standard --recycle "
                                L"--report \"C:\\Work Folder\\r.json\"  (in C:\\Work Folder)");
}

// The Task Scheduler expands %NAME% in a task's arguments when it runs it:
// the listing says which, and nothing for a sign that names no variable.
TEST(Schedule, TheListingNotesEachVariableWindowsExpandsAsTheTaskRuns) {
    const struct {
        Words arguments;
        const wchar_t* note;
    } cases[] = {
        {{L"clean", L"--mode", L"standard", L"--recycle", L"--include", L"%TEMP%\\*.log"},
         L"  (in C:\\W; Windows expands %TEMP% as the task runs)"},
        {{L"scan", L"--rules", L"%AppData%\\%USERNAME%.ini", L"--entry", L"%TEMP%%USERNAME%"},
         L"  (in C:\\W; Windows expands %AppData%, %USERNAME%, %TEMP% as the task runs)"},
        {{L"clean", L"--mode", L"standard", L"--recycle", L"--include", L"100% of 50%"}, L"  (in C:\\W)"},
        {{L"clean", L"--mode", L"standard", L"--recycle", L"--include", L"%%", L"--include", L"a%b"}, L"  (in C:\\W)"},
        {{L"clean", L"--mode", L"standard", L"--recycle", L"--include", L"50%%X%"},
         L"  (in C:\\W; Windows expands %X% as the task runs)"},
    };
    for (const auto& c : cases) {
        Words add = {L"schedule", L"add", L"v", L"--daily", L"02:00", L"--"};
        add.insert(add.end(), c.arguments.begin(), c.arguments.end());
        RecordingStore store;
        ASSERT_EQ(Schedule(add, store, {}, L"C:\\W"), 0) << win::ToNarrow(c.arguments.back());
        std::optional<ListedTask> listed = ReadTaskXml(L"v", store.tasks[L"v"]);
        ASSERT_TRUE(listed);
        const std::wstring run = RunText(*listed);
        EXPECT_EQ(run.substr(run.rfind(L"  (")), c.note) << win::ToNarrow(run);
    }
}

TEST(Schedule, BadArgumentsAndWhatAPolicyRefusesRegisterNothing) {
    Policies recycleOnly;
    recycleOnly.recycleOnly = true;
    const struct {
        Words words;
        Policies policies;
    } cases[] = {
        {{L"schedule", L"add", L"t", L"--daily", L"3:30", L"--", L"scan"}, {}},
        {{L"schedule", L"add", L"t", L"--daily", L"24:00", L"--", L"scan"}, {}},
        {{L"schedule", L"add", L"t", L"--daily", L"03:30"}, {}},
        {{L"schedule", L"add", L"t", L"--daily", L"03:30", L"--at-logon", L"--", L"scan"}, {}},
        {{L"schedule", L"add", L"t", L"--weekly", L"someday", L"03:30", L"--", L"scan"}, {}},
        {{L"schedule", L"add", L"a/b", L"--at-logon", L"--", L"scan"}, {}},
        {{L"schedule", L"add", L"t", L"--at-logon", L"--", L"clean", L"--mode", L"standard"}, {}},
        {{L"schedule", L"add", L"t", L"--at-logon", L"--", L"scan", L"--bogus"}, {}},
        {{L"schedule", L"add", L"t", L"--at-logon", L"--", L"schedule", L"list"}, {}},
        {{L"schedule", L"add", L"t", L"--at-logon", L"--", L"clean", L"--mode", L"standard", L"--permanent"},
         recycleOnly},
    };
    for (const auto& c : cases) {
        RecordingStore store;
        EXPECT_EQ(Schedule(c.words, store, c.policies), 2) << c.words[3].c_str() << " " << c.words.back().c_str();
        EXPECT_TRUE(store.tasks.empty());
    }
}

TEST(Schedule, TheTaskSchedulerRegistersAndRemovesATaskOfTheBriskoFolder) {
    // The test's machine is new: nothing was ever scheduled, which is no error.
    CliRun none = RunCli(L"schedule list");
    EXPECT_EQ(none.exitCode, 0) << none.err;
    EXPECT_EQ(none.out, L"");
    const std::wstring add = L"schedule add \"brisko test\" --daily 03:30 --when-idle -- clean --mode standard "
                             L"--recycle --rules \"C:\\a b\\r.ini\"";
    CliRun added = RunCli(add);
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_TRUE(IsRegistered(L"brisko test"));
    CliRun listed = RunCli(L"schedule list --json");
    if (listed.exitCode == 0) {
        for (const std::wstring& line : Lines(listed.out)) EXPECT_TRUE(JsonReader(line).WholeIsOneObject()) << line;
    } else {  // Wine's scheduler cannot enumerate a folder
        EXPECT_NE(listed.err.find(L"cannot list the tasks (0x80004001)"), std::wstring::npos) << listed.err;
    }
    CliRun bad = RunCli(L"schedule add bad --daily 03:30 -- clean --mode standard --bogus");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_FALSE(IsRegistered(L"bad"));
    EXPECT_EQ(RunCli(L"schedule remove \"brisko test\"").exitCode, 0);
    EXPECT_FALSE(IsRegistered(L"brisko test"));
    EXPECT_EQ(RunCli(L"schedule remove \"brisko test\"").exitCode, 2);
}
