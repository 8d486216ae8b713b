#pragma once
// The entries of a rules file the user turned on, remembered per Windows user
// and per file: under the program's key in HKEY_CURRENT_USER, by the file's
// full path, the entries by name, so that an updated file keeps the choice.
// And the file's entries as the chooser shows them: in the file's groups,
// found by a search.
#include <optional>
#include <string>
#include <vector>

#include "scan/RulesFile.h"

class IListViewHost;

// The names of the entries the user turned on for the file at `path`;
// nothing when the user never chose for it (its Default= lines count then).
std::optional<std::vector<std::wstring>> StoredEntryChoice(const IListViewHost& app, const std::wstring& path);
// Remembers the entries of `rules` that are on as the choice for `path`.
bool StoreEntryChoice(const IListViewHost& app, const std::wstring& path, const RulesFile& rules);
// The remembered choice for `path`, when there is one, turned on in `rules`.
void ApplyStoredEntryChoice(const IListViewHost& app, const std::wstring& path, RulesFile& rules);

// A group of the file (Section= or LangSecRef=, "" for none) with the
// indexes of its entries in file order.
struct RuleGroup {
    std::wstring name;
    std::vector<size_t> entries;
};
// The groups in the order of their first entry, with the entries whose name
// or group holds `search` (letter case aside; every entry when empty).
std::vector<RuleGroup> GroupRuleEntries(const RulesFile& rules, const std::wstring& search = {});
