#include "cli/Rules.h"

#include "scan/Listing.h"
#include "cli/Output.h"

namespace {

std::wstring EntryLine(const RuleEntry& entry, const CRuleEntryTotal& total, bool json) {
    if (json)
        return L"{\"entry\":" + JsonString(entry.name) + L",\"group\":" + JsonString(entry.group) + L",\"on\":" +
               (entry.on ? L"true" : L"false") + L",\"default\":" + (entry.byDefault ? L"true" : L"false") +
               L",\"items\":" + std::to_wstring(total.items) + L",\"bytes\":" + std::to_wstring(total.bytes) + L"}";
    std::wstring line = entry.name;
    if (!entry.group.empty()) line += L" [" + entry.group + L"]";
    line += entry.on ? L" (on)" : L" (off)";
    return line + L": " + SummaryText(total.items, total.bytes);
}

// Turns on what the command line chooses; false, with the names told, when
// it names an entry the file does not hold.
bool ApplyEntryChoice(RulesFile& rules, const CliOptions& options, CConsole& console) {
    if (options.allEntries) {
        ChooseAllRuleEntries(rules);
        console.Err(L"rules: --all-entries: every one of the " + std::to_wstring(rules.entries.size()) +
                    L" entries of " + options.rules + L" is on, whatever its Default");
        return true;
    }
    if (options.entries.empty() && options.entriesFrom.empty()) return true;
    std::vector<std::wstring> names = options.entries;
    if (!options.entriesFrom.empty()) {
        std::wstring why;
        std::optional<std::wstring> list = ReadRulesText(options.entriesFrom, why);
        if (!list) {
            console.Err(L"brisko-cli: --entries-from: " + why);
            return false;
        }
        for (std::wstring& name : EntryNamesInText(*list)) names.push_back(std::move(name));
    }
    std::vector<std::wstring> unknown = ChooseRuleEntries(rules, names);
    for (const std::wstring& name : unknown)
        console.Err(L"brisko-cli: entry \"" + name + L"\": " + options.rules + L" holds no entry of that name");
    return unknown.empty();
}

}  // namespace

std::optional<RulesFile> LoadRulesFile(const CliOptions& options, CConsole& console) {
    RulesFile rules = ReadRulesFile(options.rules);
    if (!rules.readable) {
        console.Err(L"brisko-cli: " + (rules.problems.empty() ? options.rules : RuleProblemText(rules.problems[0])));
        return std::nullopt;
    }
    if (!ApplyEntryChoice(rules, options, console)) return std::nullopt;
    if (options.quiet) return rules;
    for (const RuleProblem& problem : rules.problems) console.Err(L"rules: left out: " + RuleProblemText(problem));
    if (rules.problemsNotKept > 0)
        console.Err(L"rules: and " + std::to_wstring(rules.problemsNotKept) + L" more lines left out");
    return rules;
}

void CRefusalPrinter::Refused(const RuleEntry& entry, const std::wstring& folder, const std::wstring& why) {
    if (!m_quiet) m_console.Err(L"rules: refused: [" + entry.name + L"] " + folder + L" " + why);
}

void CRefusalPrinter::Notice(const std::wstring& text) {
    if (!m_quiet) m_console.Err(L"brisko-cli: " + text);
}

bool ListRulesEntries(const CBriskoDoc& doc, const CliOptions& options, CConsole& console) {
    std::optional<RulesFile> rules = LoadRulesFile(options, console);
    if (!rules) return false;
    CRefusalPrinter refusals(console, options.quiet);
    CRuleBounds bounds(doc.System());
    size_t applying = 0, on = 0;
    ULONGLONG bytes = 0;
    for (const RuleEntry& entry : rules->entries) {
        if (!RuleEntryApplies(entry, doc.System())) continue;
        CRuleEntryTotal total;
        CListingFilter listed(total);
        ScanRuleEntry(entry, doc.System(), listed, &refusals, &bounds);
        console.Out(EntryLine(entry, total, options.json));
        ++applying;
        if (entry.on) {
            ++on;
            bytes += total.bytes;
        }
    }
    if (!options.quiet) {
        std::wstring summary = std::to_wstring(applying) + L" of " + std::to_wstring(rules->entries.size()) +
                               L" entries apply here; the " + std::to_wstring(on) + L" on would free " +
                               SizeText(bytes);
        options.json ? console.Err(summary) : console.Out(summary);
    }
    return true;
}
