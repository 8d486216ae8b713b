#include "view/RuleEntryChoice.h"

#include <algorithm>

#include "view/ListViewHost.h"
#include "win/Path.h"
#include "win/Text.h"

namespace {

constexpr const wchar_t* kChoiceSection = L"\\RulesEntries";
// What no stored choice reads as: a choice is entry names, one a line, and
// a name never holds a control character.
constexpr const wchar_t* kNoChoice = L"\x01";

std::wstring ChoiceSection(const IListViewHost& app) { return app.UserName() + kChoiceSection; }

bool Holds(const std::wstring& text, const std::wstring& foldedSearch) {
    return win::CaseFolded(text).find(foldedSearch) != std::wstring::npos;
}

}  // namespace

std::optional<std::vector<std::wstring>> StoredEntryChoice(const IListViewHost& app, const std::wstring& path) {
    std::wstring stored = app.Profile().GetString(ChoiceSection(app), CurrentFullPath(path), kNoChoice);
    if (stored == kNoChoice) return std::nullopt;
    return EntryNamesInText(stored);
}

bool StoreEntryChoice(const IListViewHost& app, const std::wstring& path, const RulesFile& rules) {
    std::wstring names;
    for (const RuleEntry& entry : rules.entries)
        if (entry.on) names += entry.name + L"\n";
    return app.Profile().WriteString(ChoiceSection(app), CurrentFullPath(path), names);
}

void ApplyStoredEntryChoice(const IListViewHost& app, const std::wstring& path, RulesFile& rules) {
    if (std::optional<std::vector<std::wstring>> names = StoredEntryChoice(app, path))
        TurnOnNamedEntries(rules, *names);
}

std::vector<RuleGroup> GroupRuleEntries(const RulesFile& rules, const std::wstring& search) {
    const std::wstring wanted = win::CaseFolded(search);
    std::vector<RuleGroup> groups;
    for (size_t index = 0; index < rules.entries.size(); ++index) {
        const RuleEntry& entry = rules.entries[index];
        if (!wanted.empty() && !Holds(entry.name, wanted) && !Holds(entry.group, wanted)) continue;
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const RuleGroup& known) { return known.name == entry.group; });
        if (group == groups.end()) group = groups.insert(groups.end(), RuleGroup{entry.group, {}});
        group->entries.push_back(index);
    }
    return groups;
}
