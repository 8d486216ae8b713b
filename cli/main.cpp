// brisko-cli: the scans and the clean of the program, without a window, for
// scheduled cleaning and scripts.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "catalog/BriskoDoc.h"
#include "cli/Browsers.h"
#include "clean/CleanJob.h"
#include "clean/CleanSummary.h"
#include "clean/FolderMeasure.h"
#include "item/Guards.h"
#include "item/ItemPath.h"
#include "cli/CleanReport.h"
#include "cli/Console.h"
#include "cli/EventLog.h"
#include "cli/Glob.h"
#include "cli/Options.h"
#include "cli/Output.h"
#include "cli/PolicyChecks.h"
#include "cli/Rules.h"
#include "privacy/RuleKeys.h"
#include "cli/ScheduleCommand.h"
#include "i18n/LanguageChoice.h"
#include "policy/Policies.h"
#include "privacy/browsers/BrowserCleaning.h"
#include "privacy/browsers/CookiesKillerRow.h"
#include "privacy/browsers/SavedKeepList.h"
#include "scan/FoundItems.h"
#include "scan/Modes.h"
#include "win/ComInit.h"
#include "win/Log.h"
#include "win/Path.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitItemsLeft = 1;
constexpr int kExitUsage = 2;

// A folder item that a clean empties and keeps.
bool IsEmptiedOnly(const FoundItem& entry) {
    return entry.folder && MachineGuards().systemFolders.Contains(entry.path);
}

// Every entry is a selected row: the clean takes them from the last to the first.
class CEntryRows : public ICleanRows {
public:
    explicit CEntryRows(const FoundItems& entries) : m_entries(entries) {}
    int Count() override { return static_cast<int>(m_entries.Count()); }
    int SelectedCount() override { return Count(); }
    CleanRow Row(int row) override { return {true, m_entries[row].path}; }

private:
    const FoundItems& m_entries;
};

// What became of each item of a clean, and its progress on the console.
class CCleanOutcome : public ICleanProgress {
public:
    CCleanOutcome(CConsole& console, const CliOptions& options, const FoundItems& entries,
                  const std::vector<std::wstring>& ruleNames, CleanRecord& record)
        : m_console(console), m_options(options), m_entries(entries), m_ruleNames(ruleNames), m_record(record) {}

    void Starting(int row, const std::wstring& path) override {
        ++m_done;
        if (!m_options.quiet)
            m_console.Progress(L"[" + std::to_wstring(m_done) + L"/" + std::to_wstring(m_entries.Count()) + L"] " +
                               path);
    }
    void Outcome(int row, const RowRemoval& removal) override {
        m_summary.Add(removal);
        m_record.Add(m_entries[row].path, m_entries[row].size, IsEmptiedOnly(m_entries[row]), removal);
        PrintOutcome(m_entries[row], removal);
    }
    void Finished(int, int) override {}
    void Done() override { m_console.Progress(L""); }

    const CleanSummary& Summary() const { return m_summary; }

private:
    static const wchar_t* Action(const FoundItem& entry, const RowRemoval& removal) {
        if (!removal.cleaned.empty() && !removal.Stays()) return L"cleaned";
        switch (removal.outcome) {
        case RowOutcome::Removed:
            return IsEmptiedOnly(entry) ? L"emptied" : L"removed";
        case RowOutcome::PartlyRemoved:
            return L"partly";
        case RowOutcome::Left:
            return L"left";
        case RowOutcome::Vanished:
            break;
        }
        return L"gone";
    }
    void PrintOutcome(const FoundItem& entry, const RowRemoval& removal) {
        std::wstring action = Action(entry, removal);
        if (m_options.json) {
            std::wstring extra = L"\"action\":\"" + action + L"\",\"removed_files\":" +
                                 std::to_wstring(removal.filesRemoved) + L",\"removed_bytes\":" +
                                 std::to_wstring(removal.bytesRemoved);
            if (removal.Stays()) extra += L",\"left\":[" + LeftJson(removal) + L"]";
            if (!removal.cleaned.empty()) extra += L",\"cleaned\":" + JsonString(removal.cleaned);
            m_console.Out(EntryJson(entry, ModeName(m_options.mode), extra, RuleEntryNameOf(m_ruleNames, entry.rule)));
            return;
        }
        std::wstring line = action + std::wstring(9 - action.size(), L' ') + entry.path;
        if (removal.outcome == RowOutcome::PartlyRemoved)
            line += L"  (" + std::to_wstring(removal.filesRemoved) + L" of " +
                    std::to_wstring(removal.filesRemoved + removal.filesLeft) + L" files removed)";
        if (!removal.cleaned.empty()) line += L"  (" + removal.cleaned + L")";
        m_console.Out(line);
        if (!removal.Stays()) return;
        for (const LeftEntry& left : removal.left)
            m_console.Out(L"    kept " + left.path + L": " + LeftReasonText(left.reason));
    }
    static std::wstring LeftJson(const RowRemoval& removal) {
        std::wstring list;
        for (const LeftEntry& left : removal.left) {
            if (!list.empty()) list += L",";
            list += L"{\"path\":" + JsonString(left.path) + L",\"reason\":" + JsonString(LeftReasonText(left.reason)) +
                    L"}";
        }
        return list;
    }

    CConsole& m_console;
    const CliOptions& m_options;
    const FoundItems& m_entries;
    const std::vector<std::wstring>& m_ruleNames;
    CleanRecord& m_record;
    size_t m_done = 0;
    CleanSummary m_summary;
};

ULONGLONG TotalSize(const FoundItems& entries) {
    ULONGLONG total = 0;
    for (size_t row = 0; row < entries.Count(); ++row) total += entries[row].size;
    return total;
}

// What a clean of every entry would take, the folders' contents included.
ItemAmount TotalAmount(const FoundItems& entries) {
    ItemAmount total;
    for (size_t row = 0; row < entries.Count(); ++row) total += entries.AmountAt(row);
    return total;
}

std::vector<std::wstring> RuleNamesOf(const RulesFile* rules) {
    return rules ? RuleEntryNames(*rules) : std::vector<std::wstring>();
}

// The listing of one mode, one row per item in the order found, less what
// the filters leave out.
FoundItems Scan(const CBriskoDoc& doc, CliOptions& options, CConsole& console, const RulesFile* rules) {
    if (!options.quiet) console.Progress(L"scanning...");
    FoundItems found;
    CFoundItemCollector collector(found, options.mode);
    CRefusalPrinter refusals(console, options.quiet);
    BYTE listed = RunModeScan(
        doc, options.mode, collector, [&collector](BYTE mode) { collector.SetScan(mode); }, rules, &refusals);
    console.Progress(L"");
    if (listed != options.mode && !options.quiet)
        console.Err(L"the cookies scan found nothing; the offline scan ran in its place");
    options.mode = listed;
    for (size_t row = found.Count(); row-- > 0;)
        if (!PassesFilters(found[row].path, options.include, options.exclude)) found.RemoveRow(row);
    return found;
}

int RunScanCommand(const CBriskoDoc& doc, CliOptions& options, CConsole& console, const RulesFile* rules) {
    FoundItems entries = Scan(doc, options, console, rules);
    const std::vector<std::wstring> ruleNames = RuleNamesOf(rules);
    for (size_t row = 0; row < entries.Count(); ++row) {
        const FoundItem& entry = entries[row];
        std::wstring ruleEntry = RuleEntryNameOf(ruleNames, entry.rule);
        console.Out(options.json ? EntryJson(entry, ModeName(options.mode), {}, ruleEntry)
                                 : EntryText(entry, ruleEntry));
    }
    if (!options.quiet) {
        std::wstring summary = SummaryText(entries.Count(), TotalSize(entries));
        options.json ? console.Err(summary) : console.Out(summary);
    }
    return kExitOk;
}

// The clean's record to the report file and the event log; never fails the clean.
int Finish(CleanRecord& record, CReportFile& report, const CliOptions& options, CConsole& console, int status) {
    ::GetSystemTimeAsFileTime(&record.ended);
    if (!options.report.empty()) {
        std::wstring error = report.Commit(ReportJson(record));
        if (!error.empty()) console.Err(L"brisko-cli: --report: " + error);
        if (!error.empty() && status == kExitOk) status = kExitItemsLeft;
    }
    if (!LogClean(ApplicationEventLog(), record, options.report) && !options.quiet)
        console.Err(L"brisko-cli: the clean could not be written to the event log");
    return status;
}

int RunCleanCommand(const CBriskoDoc& doc, CliOptions& options, CConsole& console, const RulesFile* rules,
                    const std::wstring& unreadableRules) {
    CleanRecord record;
    ::GetSystemTimeAsFileTime(&record.started);
    record.machine = ComputerName();
    record.user = UserName();
    record.rulesFile = rules ? options.rules : L"";
    record.unreadableRulesFile = unreadableRules;
    record.permanent = options.permanent;
    record.dryRun = options.dryRun;
    // A report that cannot be written is found before anything goes.
    CReportFile report;
    if (!options.report.empty()) {
        if (std::wstring error = report.Open(options.report); !error.empty()) {
            console.Err(L"brisko-cli: --report: " + error);
            return kExitUsage;
        }
    }
    FoundItems entries = Scan(doc, options, console, rules);
    // What the folders hold counts as the window counts it before a clean.
    MeasureFolderRows(entries);
    const std::vector<std::wstring> ruleNames = RuleNamesOf(rules);
    record.mode = ModeName(options.mode);
    for (size_t row = 0; row < entries.Count(); ++row) record.found.Add(entries.AmountAt(row).bytes);
    // Cookies Killer keeps the sites of the user's keep-list: a cookie
    // database it understands is cleaned around them, not deleted.
    const browsers::CKeepList keep = options.mode == MODE_COOKIES_KILLER
                                         ? browsers::UserKeepList(browsers::ProgramSettings(), ReadUserName())
                                         : browsers::CKeepList();
    if (options.dryRun) {
        for (size_t row = 0; row < entries.Count(); ++row) {
            const FoundItem& entry = entries[row];
            bool empty = IsEmptiedOnly(entry);
            bool inside = !keep.Empty() && browsers::IsKnownCookieDatabase(entry.path);
            const wchar_t* json = inside  ? L"\"action\":\"would-clean\""
                                  : empty ? L"\"action\":\"would-empty\""
                                          : L"\"action\":\"would-remove\"";
            const wchar_t* text = inside ? L"would clean   " : empty ? L"would empty   " : L"would remove  ";
            const ItemAmount amount = entries.AmountAt(row);
            const std::wstring contents = ContentsJson(entry, amount);
            const std::wstring ruleEntry = RuleEntryNameOf(ruleNames, entry.rule);
            console.Out(options.json ? EntryJson(entry, ModeName(options.mode),
                                                 json + (contents.empty() ? L"" : L"," + contents), ruleEntry)
                                     : text + MeasuredEntryText(entry, amount, ruleEntry));
        }
        const ItemAmount total = TotalAmount(entries);
        if (!options.quiet) console.Err(L"dry run, nothing removed: " + SummaryText(total.items, total.bytes));
        return Finish(record, report, options, console, kExitOk);
    }
    CEntryRows rows(entries);
    CCleanOutcome outcome(console, options, entries, ruleNames, record);
    CleanHow how;
    how.permanent = options.permanent;
    if (!keep.Empty())
        how.cleanInstead = [&keep](const std::wstring& path, IRemovalReport& report) {
            return browsers::CleanCookieRow(path, keep, report);
        };
    else if (options.mode == MODE_STANDARD)
        how.cleanInstead = [permanent = options.permanent](const std::wstring& path, IRemovalReport& report) {
            return CleanRegistryRuleRow(path, permanent, report);
        };
    std::atomic<bool> stop{false};
    RunGuardedClean(rows, how, outcome, stop);
    const CleanSummary& summary = outcome.Summary();
    if (!options.quiet) console.Err(CleanSummaryText(summary));
    return Finish(record, report, options, console,
                  summary.Left() + summary.partlyRemoved == 0 ? kExitOk : kExitItemsLeft);
}

int RunSchedule(const CliOptions& options, CConsole& console, const Policies& policies) {
    win::ComInit com(COINIT_MULTITHREADED);
    std::wstring error;
    std::unique_ptr<ITaskStore> store = ConnectTaskScheduler(error);
    if (!store) {
        console.Err(L"brisko-cli: schedule: " + error);
        return kExitItemsLeft;
    }
    TaskIdentity identity{JoinPath(ProgramFolder(), L"brisko-cli.exe"), CurrentAccountName(), CurrentFullPath(L".")};
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
    // What a boundary caught goes to the error stream as well.
    win::SetLogSink([&console](const std::wstring& line) { console.Err(L"brisko-cli: " + line); });
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
    if (options.command == CliOptions::Command::Version) {
        console.Out(VersionText());
        return kExitOk;
    }
    try {
        std::shared_ptr<const Policies> policies = ApplyPolicies(options, console);
        if (std::wstring refusal = PolicyRefusal(options, *policies); !refusal.empty()) {
            console.Err(L"brisko-cli: " + refusal);
            return kExitUsage;
        }
        if (options.command == CliOptions::Command::Schedule) return RunSchedule(options, console, *policies);
        if (options.command == CliOptions::Command::Browsers) return RunBrowsersCommand(options, console);
        CBriskoDoc doc;
        if (options.command == CliOptions::Command::Rules)
            return ListRulesEntries(doc, options, console) ? kExitOk : kExitUsage;
        // A rules file a policy names adds nothing when it cannot be read,
        // as in the window: the run goes on, told on the error stream and
        // in the report. One given with --rules must be read.
        std::optional<RulesFile> rules;
        std::wstring unreadableRules;
        if (!options.rules.empty() && !(rules = LoadRulesFile(options, console))) {
            // A policy's file that cannot be read adds nothing; a --rules file
            // that cannot be, or a choice of entries the file does not hold,
            // stops the run.
            if (!policies->rulesFile || ReadRulesFile(options.rules).readable) return kExitUsage;
            unreadableRules = std::exchange(options.rules, std::wstring());
        }
        if (rules && options.mode != MODE_STANDARD && !options.quiet)
            console.Err(L"rules: only the Standard scan adds what the rules find");
        const RulesFile* extra = rules ? &*rules : nullptr;
        return options.command == CliOptions::Command::Scan
                   ? RunScanCommand(doc, options, console, extra)
                   : RunCleanCommand(doc, options, console, extra, unreadableRules);
    } catch (const std::exception& error) {
        console.Err(L"brisko-cli: stopped: " + std::wstring(error.what(), error.what() + strlen(error.what())));
        return kExitItemsLeft;
    }
}
