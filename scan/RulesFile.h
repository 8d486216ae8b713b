#pragma once
// Rules files in the community "winapp2" INI form: one section per entry,
// each naming folders and file patterns to clean. Reading a file touches
// nothing but the file; whatever a line asks that this program will not do
// is left out and told, with its line and the reason.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "item/RegistryRow.h"

// One FileKey: a folder (with %Variables% and '*' inside its steps), the
// patterns of the files to clean in it, and whether its subfolders count
// too and whether the folder itself goes.
struct RuleFileKey {
    std::wstring folder;
    std::vector<std::wstring> patterns;
    bool recurse = false;
    bool removeSelf = false;
};

// One ExcludeKey: FILE|folder|patterns keeps those files of that folder;
// PATH|folder keeps the folder with all it holds, PATH|folder|patterns the
// matching files anywhere below it.
struct RuleExclude {
    bool wholeTree = false;  // PATH rather than FILE
    std::wstring folder;
    std::vector<std::wstring> patterns;  // empty: everything
};

struct RuleEntry {
    std::wstring name;   // without the " *" that marks an entry's name
    std::wstring group;  // Section=, or the group a LangSecRef= number stands for
    std::wstring warning;  // Warning=: what the user is asked to accept before turning the entry on
    // Every entry is off until chosen: the file turns one on with
    // Default=True, the user with a choice (ChooseRuleEntries).
    bool byDefault = false;
    bool on = false;
    int line = 0;  // where the section starts
    // The entry applies when its DetectOS range holds (if it has one) and
    // one of its registry keys or files exists (if it names any).
    std::vector<std::wstring> detectKeys;
    std::vector<std::wstring> detectFiles;
    // The entry named a detection (Detect, DetectFile, SpecialDetect) and
    // none of it can be decided here: it applies nowhere, whatever is chosen.
    bool detectionUndecidable = false;
    bool hasOsRange = false;
    DWORD osLow = 0, osHigh = 0xFFFF;  // major << 8 | minor, both ends included
    std::vector<RuleFileKey> files;
    std::vector<RuleExclude> excludes;
    std::vector<RegistryRow> registryKeys;  // RegKey lines: a key, or one value of it
};

// A line, or a part of one, that was left out.
struct RuleProblem {
    int line = 0;  // 0: the file as a whole
    std::wstring text;
};

struct RulesFile {
    std::vector<RuleEntry> entries;
    std::vector<RuleProblem> problems;  // at most kMaxRuleProblems of them
    size_t problemsNotKept = 0;         // those beyond
    bool readable = true;               // false: the file could not be read at all
};

inline constexpr size_t kMaxRulesFileBytes = 8u << 20;
inline constexpr size_t kMaxRuleLine = 4096;
inline constexpr size_t kMaxRuleProblems = 200;
// A found item keeps its entry's number in 16 bits: entries beyond are left out.
inline constexpr size_t kMaxRuleEntries = 0xFFFF;

// The entries of a rules file's text.
RulesFile ParseRules(const std::wstring& text);
// Decodes UTF-16 (by its byte-order mark), UTF-8 (with or without one) or
// else the ANSI code page.
std::wstring DecodeRulesBytes(const std::string& bytes);
// Reads and parses a file; a missing, unreadable or too large file, a device
// or anything else that is not a plain file gives no entries and one problem
// that says why.
RulesFile ReadRulesFile(const std::wstring& path);
// The decoded text of a plain file no larger than a rules file may be;
// nothing, with `why`, when it is no such file or cannot be read.
std::optional<std::wstring> ReadRulesText(const std::wstring& path, std::wstring& why);
// The entry names of a list, one a line; blank lines and lines that begin
// with ';' or '#' name none.
std::vector<std::wstring> EntryNamesInText(const std::wstring& text);

// Turns on exactly the entries named (letter case and a trailing " *"
// aside) and turns every other one off; gives back the names that match no entry, choosing nothing
// then.
std::vector<std::wstring> ChooseRuleEntries(RulesFile& rules, const std::vector<std::wstring>& names);
// Turns on the entries named and every other off; a name the file does not
// hold (any more) is passed over.
void TurnOnNamedEntries(RulesFile& rules, const std::vector<std::wstring>& names);
// Turns every entry on.
void ChooseAllRuleEntries(RulesFile& rules);

// The entries' names in file order, which a found item's rule number
// (FoundItem::rule, the index + 1) stands for.
std::vector<std::wstring> RuleEntryNames(const RulesFile& rules);
// The name rule number `rule` stands for in `names`; "" for 0 or a number
// beyond them.
std::wstring RuleEntryNameOf(const std::vector<std::wstring>& names, std::uint16_t rule);

// "line 12: ..." or the text alone for the file as a whole.
std::wstring RuleProblemText(const RuleProblem& problem);
