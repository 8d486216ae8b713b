#pragma once
// A rules file applied to a machine: which entries apply, and the files and
// folders their FileKeys name, handed to a sink like any scan's matches. A
// rule is only ever walked below the folder of a known variable, never
// through a link, and only where the machine's bounds let it (RuleBounds.h);
// a rule that leads elsewhere is refused and told, not walked. Nothing here
// deletes.
#include <string>

#include "catalog/BriskoDoc.h"
#include "scan/FoundItemSink.h"
#include "scan/RuleBounds.h"
#include "scan/RulesFile.h"

// Told of every folder of a rule that was refused on this machine, and once
// of each target a scan leaves out there (a temporary folder that points
// elsewhere, a drive letter that is no volume), in the user's language.
class IRuleReport {
public:
    virtual ~IRuleReport() = default;
    virtual void Refused(const RuleEntry& entry, const std::wstring& folder, const std::wstring& why) = 0;
    virtual void Notice(const std::wstring& text) {}
};

// A file pattern as the platform matches it: '*' and '?' in any letter case;
// one ending in ".*" ("*.*", "index.*") takes names without an extension
// too, and one ending in a dot ("index.", "data*.") names without one only.
bool RulePatternMatches(const std::wstring& pattern, const std::wstring& name);

// True when the entry's DetectOS range holds and one of its Detect keys or
// DetectFile paths exists (each when it has any).
bool RuleEntryApplies(const RuleEntry& entry, const ISystemInfo& system);

// Hands on what the entry's FileKeys match and its ExcludeKeys leave: the
// matching files, or a REMOVESELF folder as one whole item when it is taken
// with all it holds and lies outside the user's own files; then each key
// or value of its RegKey lines that is there, as a registry row
// (item/RegistryRow.h). An entry whose exclusion cannot be resolved is
// refused whole. `bounds`, when given, are
// the machine's, gathered once for many entries.
void ScanRuleEntry(const RuleEntry& entry, const ISystemInfo& system, IFoundItemSink& sink,
                   IRuleReport* report = nullptr, const CRuleBounds* bounds = nullptr);

// ScanRuleEntry for every entry that applies and is on, in file order.
void RunRulesScan(const CBriskoDoc& doc, const RulesFile& rules, IFoundItemSink& sink, IRuleReport* report = nullptr);

// Tells `report` of every folder of the entries that apply which a scan
// would refuse, walking none of them.
void CheckRuleFolders(const RulesFile& rules, const ISystemInfo& system, IRuleReport& report);

// The bytes of the files below `folder`, links neither counted nor followed.
ULONGLONG FolderTreeBytes(const std::wstring& folder);

// Counts what an entry would remove: its items, and the bytes of its files
// and of the files below its folders.
class CRuleEntryTotal : public IFoundItemSink {
public:
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override;
    size_t items = 0;
    ULONGLONG bytes = 0;
};
