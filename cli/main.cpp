// brisko-cli: the scans and the clean of the program, without a window, for
// scheduled cleaning and scripts.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "catalog/BriskoDoc.h"
#include "clean/CleanJob.h"
#include "clean/Guards.h"
#include "clean/ItemPath.h"
#include "cli/CleanReport.h"
#include "cli/Console.h"
#include "cli/EventLog.h"
#include "cli/Glob.h"
#include "cli/Options.h"
#include "cli/Output.h"
#include "cli/PolicyChecks.h"
#include "cli/Rules.h"
#include "cli/ScheduleCommand.h"
#include "policy/Policies.h"
#include "scan/Modes.h"
#include "win/ComInit.h"
#include "win/Path.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitItemsLeft = 1;
constexpr int kExitUsage = 2;

// A folder item that a clean empties and keeps.
bool IsEmptiedOnly(const FoundEntry& entry) {
    return entry.folder && MachineGuards().systemFolders.Contains(entry.path);
}

// Collects what a scan lists, in the order found.
class CEntryList : public IFoundItemSink {
public:
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
        FoundEntry entry;
        entry.path = std::move(path);
        entry.folder = (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!entry.folder)
            entry.size = (static_cast<ULONGLONG>(findData.nFileSizeHigh) << 32) | findData.nFileSizeLow;
        entry.modified = findData.ftLastWriteTime;
        entries.push_back(std::move(entry));
    }
    std::vector<FoundEntry> entries;
};

// Every entry is a selected row: the clean takes them from the last to the first.
class CEntryRows : public ICleanRows {
public:
    explicit CEntryRows(const std::vector<FoundEntry>& entries) : m_entries(entries) {}
    int Count() override { return static_cast<int>(m_entries.size()); }
    int SelectedCount() override { return Count(); }
    CleanRow Row(int row) override { return {true, m_entries[row].path, m_entries[row].folder}; }

private:
    const std::vector<FoundEntry>& m_entries;
};

// What became of each item of a clean, on the console and in the summary,
// and the clean's progress.
class CCleanOutcome : public ICleanProgress, public IRemovalReport {
public:
    CCleanOutcome(CConsole& console, const CliOptions& options, const std::vector<FoundEntry>& entries,
                  CleanSummary& summary)
        : m_console(console), m_options(options), m_entries(entries), m_summary(summary) {}

    void Starting(int row, const std::wstring& path) override {
        m_left.clear();
        ++m_done;
        if (!m_options.quiet)
            m_console.Progress(L"[" + std::to_wstring(m_done) + L"/" + std::to_wstring(m_entries.size()) + L"] " +
                               path);
    }
    void Finished(int row, int) override { PrintOutcome(m_entries[row]); }
    void Done() override { m_console.Progress(L""); }
    void Removing(const std::wstring&) override {}
    void Left(const std::wstring& path, LeftReason reason) override { m_left.emplace_back(path, reason); }

private:
    void PrintOutcome(const FoundEntry& entry) {
        bool removed = m_left.empty();
        const wchar_t* mode = ModeName(m_options.mode);
        const wchar_t* action = !removed ? L"left" : IsEmptiedOnly(entry) ? L"emptied" : L"removed";
        (!removed ? m_summary.left : IsEmptiedOnly(entry) ? m_summary.emptied : m_summary.removed).Add(entry.size);
        if (!removed) m_summary.leftItems.push_back({entry.path, m_left});
        if (m_options.json) {
            std::wstring extra = L"\"action\":\"" + std::wstring(action) + L"\"";
            if (!removed) extra += L",\"left\":[" + LeftJson() + L"]";
            m_console.Out(EntryJson(entry, mode, extra));
            return;
        }
        std::wstring label = action;
        m_console.Out(label + std::wstring(9 - label.size(), L' ') + entry.path);
        for (const auto& [path, reason] : m_left) m_console.Out(L"    kept " + path + L": " + LeftReasonText(reason));
    }
    std::wstring LeftJson() const {
        std::wstring list;
        for (const auto& [path, reason] : m_left) {
            if (!list.empty()) list += L",";
            list += L"{\"path\":" + JsonString(path) + L",\"reason\":" + JsonString(LeftReasonText(reason)) + L"}";
        }
        return list;
    }

    CConsole& m_console;
    const CliOptions& m_options;
    const std::vector<FoundEntry>& m_entries;
    CleanSummary& m_summary;
    std::vector<std::pair<std::wstring, LeftReason>> m_left;
    size_t m_done = 0;
};

ULONGLONG TotalSize(const std::vector<FoundEntry>& entries) {
    ULONGLONG total = 0;
    for (const FoundEntry& entry : entries) total += entry.size;
    return total;
}

std::vector<FoundEntry> Scan(const CBriskoDoc& doc, CliOptions& options, CConsole& console,
                             const RulesFile* rules) {
    if (!options.quiet) console.Progress(L"scanning...");
    CEntryList found;
    CRefusalPrinter refusals(console, options.quiet);
    BYTE listed = RunModeScan(doc, options.mode, found, {}, rules, &refusals);
    console.Progress(L"");
    if (listed != options.mode && !options.quiet)
        console.Err(L"the cookies scan found nothing; the offline scan ran in its place");
    options.mode = listed;
    // An item that two catalogue entries name is listed once: its second
    // removal would only find it gone.
    std::set<std::wstring> seen;
    std::vector<FoundEntry> kept;
    for (FoundEntry& entry : found.entries) {
        if (!seen.insert(ItemKey(entry.path)).second || !PassesFilters(entry.path, options.include, options.exclude)) continue;
        kept.push_back(std::move(entry));
    }
    return kept;
}

int RunScanCommand(const CBriskoDoc& doc, CliOptions& options, CConsole& console, const RulesFile* rules) {
    std::vector<FoundEntry> entries = Scan(doc, options, console, rules);
    for (const FoundEntry& entry : entries)
        console.Out(options.json ? EntryJson(entry, ModeName(options.mode)) : EntryText(entry));
    if (!options.quiet) {
        std::wstring summary = SummaryText(entries.size(), TotalSize(entries));
        options.json ? console.Err(summary) : console.Out(summary);
    }
    return kExitOk;
}

// The clean's summary to the report file and the event log; never fails the clean.
int Finish(CleanSummary& summary, CReportFile& report, const CliOptions& options, CConsole& console, int status) {
    ::GetSystemTimeAsFileTime(&summary.ended);
    if (!options.report.empty()) {
        std::wstring error = report.Commit(ReportJson(summary));
        if (!error.empty()) console.Err(L"brisko-cli: --report: " + error);
        if (!error.empty() && status == kExitOk) status = kExitItemsLeft;
    }
    if (!LogClean(ApplicationEventLog(), summary, options.report) && !options.quiet)
        console.Err(L"brisko-cli: the clean could not be written to the event log");
    return status;
}

int RunCleanCommand(const CBriskoDoc& doc, CliOptions& options, CConsole& console, const RulesFile* rules) {
    CleanSummary summary;
    ::GetSystemTimeAsFileTime(&summary.started);
    summary.machine = ComputerName();
    summary.user = UserName();
    summary.rulesFile = rules ? options.rules : L"";
    summary.permanent = options.permanent;
    summary.dryRun = options.dryRun;
    // A report that cannot be written is found before anything goes.
    CReportFile report;
    if (!options.report.empty()) {
        if (std::wstring error = report.Open(options.report); !error.empty()) {
            console.Err(L"brisko-cli: --report: " + error);
            return kExitUsage;
        }
    }
    std::vector<FoundEntry> entries = Scan(doc, options, console, rules);
    summary.mode = ModeName(options.mode);
    for (const FoundEntry& entry : entries) summary.found.Add(entry.size);
    if (options.dryRun) {
        for (const FoundEntry& entry : entries) {
            bool empty = IsEmptiedOnly(entry);
            console.Out(options.json ? EntryJson(entry, ModeName(options.mode),
                                                 empty ? L"\"action\":\"would-empty\"" : L"\"action\":\"would-remove\"")
                                     : (empty ? L"would empty   " : L"would remove  ") + EntryText(entry));
        }
        if (!options.quiet) console.Err(L"dry run, nothing removed: " + SummaryText(entries.size(), TotalSize(entries)));
        return Finish(summary, report, options, console, kExitOk);
    }
    CEntryRows rows(entries);
    CCleanOutcome outcome(console, options, entries, summary);
    RemovalGuards guards = GuardsUnderPolicy();
    RemovalContext removal{guards, outcome};
    std::atomic<bool> keepGoing{true};
    RunCleanJob(
        rows, outcome, options.permanent,
        [&removal](const std::wstring& path, bool permanent, bool folderRow) {
            RemoveRowItem(path, permanent, folderRow, removal);
        },
        keepGoing);
    if (!options.quiet)
        console.Err(std::to_wstring(entries.size() - summary.left.items) + L" removed, " +
                    std::to_wstring(summary.left.items) + L" left");
    return Finish(summary, report, options, console, summary.left.items == 0 ? kExitOk : kExitItemsLeft);
}

int RunSchedule(const CliOptions& options, CConsole& console, const Policies& policies) {
    win::ComInit com(COINIT_MULTITHREADED);
    std::wstring error;
    std::unique_ptr<ITaskStore> store = ConnectTaskScheduler(error);
    if (!store) {
        console.Err(L"brisko-cli: schedule: " + error);
        return kExitItemsLeft;
    }
    TaskIdentity identity{JoinPath(ProgramFolder(), L"brisko-cli.exe"), CurrentAccountName()};
    return RunScheduleCommand(options, console, *store, policies, identity);
}

// The policies in force, their problems told; the rules file a policy sets
// takes the place of --rules.
std::shared_ptr<const Policies> ApplyPolicies(CliOptions& options, CConsole& console) {
    std::shared_ptr<const Policies> policies = RefreshPolicies();
    for (const std::wstring& problem : UntoldPolicyProblems(*policies)) console.Err(L"brisko-cli: " + problem);
    bool scans = options.command == CliOptions::Command::Scan || options.command == CliOptions::Command::Clean;
    if (scans && policies->rulesFile) {
        if (!options.rules.empty() && options.rules != *policies->rulesFile && !options.quiet)
            console.Err(L"rules: the policy RulesFile sets " + *policies->rulesFile + L"; --rules is not used");
        options.rules = *policies->rulesFile;
    }
    return policies;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    CConsole console;
    std::vector<std::wstring> arguments(argv + 1, argv + argc);
    ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.error.empty()) {
        console.Err(L"brisko-cli: " + parsed.error);
        return kExitUsage;
    }
    CliOptions options = parsed.options;
    if (options.command == CliOptions::Command::Help) {
        console.Out(UsageText());
        return kExitOk;
    }
    try {
        std::shared_ptr<const Policies> policies = ApplyPolicies(options, console);
        if (std::wstring refusal = PolicyRefusal(options, *policies); !refusal.empty()) {
            console.Err(L"brisko-cli: " + refusal);
            return kExitUsage;
        }
        if (options.command == CliOptions::Command::Schedule) return RunSchedule(options, console, *policies);
        CBriskoDoc doc;
        if (options.command == CliOptions::Command::Rules)
            return ListRulesEntries(doc, options, console) ? kExitOk : kExitUsage;
        std::optional<RulesFile> rules;
        if (!options.rules.empty() && !(rules = LoadRulesFile(options.rules, console, options.quiet)))
            return kExitUsage;
        if (rules && options.mode != MODE_STANDARD && !options.quiet)
            console.Err(L"rules: only the Standard scan adds what the rules find");
        const RulesFile* extra = rules ? &*rules : nullptr;
        return options.command == CliOptions::Command::Scan ? RunScanCommand(doc, options, console, extra)
                                                            : RunCleanCommand(doc, options, console, extra);
    } catch (const std::exception& error) {
        console.Err(L"brisko-cli: stopped: " + std::wstring(error.what(), error.what() + strlen(error.what())));
        return kExitItemsLeft;
    }
}
