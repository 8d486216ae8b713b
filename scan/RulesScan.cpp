#include "scan/RulesScan.h"

#include <functional>
#include <optional>
#include <vector>

#include "item/CriticalFolders.h"
#include "item/Guards.h"
#include "item/ItemPath.h"
#include "item/Links.h"
#include "win/LocalSpelling.h"
#include "scan/RuleVariables.h"
#include "scan/Walk.h"
#include "win/Handle.h"
#include "win/Path.h"
#include "win/Registry.h"
#include "win/Text.h"

namespace {

// Deeper trees are no cache: a walk stops there rather than run away.
constexpr int kMaxDepth = 64;

bool HasWildcard(const std::wstring& text) { return text.find_first_of(L"*?") != std::wstring::npos; }

bool IsFolder(const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool AnyPatternMatches(const std::vector<std::wstring>& patterns, const std::wstring& name) {
    for (const std::wstring& pattern : patterns)
        if (RulePatternMatches(pattern, name)) return true;
    return false;
}

bool TakesEveryFile(const std::vector<std::wstring>& patterns) {
    for (const std::wstring& pattern : patterns)
        if (pattern == L"*" || pattern == L"*.*") return true;
    return false;
}

// Every entry of `folder` but the dot entries and links, which are neither
// listed nor entered.
void ForEachEntry(const std::wstring& folder, const std::function<void(const WIN32_FIND_DATAW&)>& visit) {
    WIN32_FIND_DATAW entry;
    win::FindHandle find(::FindFirstFileW(ApiPath(JoinPath(folder, L"*")).c_str(), &entry));
    if (!find) return;
    const std::wstring folderFinal = FinalPathOf(folder);
    do {
        if (IsDotEntry(entry.cFileName) || IsLinkEntry(folder, folderFinal, entry)) continue;
        visit(entry);
    } while (::FindNextFileW(find.Get(), &entry));
}

void ForEachFileBelow(const std::wstring& folder, int depth,
                      const std::function<void(const std::wstring& path, const WIN32_FIND_DATAW&)>& visit) {
    if (depth > kMaxDepth) return;
    ForEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
        std::wstring path = JoinPath(folder, entry.cFileName);
        if (IsFolder(entry))
            ForEachFileBelow(path, depth + 1, visit);
        else
            visit(path, entry);
    });
}

// A rule's folder as a root folder and the steps below it, '*' and '?' still in them.
struct RuleFolder {
    std::wstring root;
    std::vector<std::wstring> steps;
};

std::vector<std::wstring> Steps(const std::wstring& text) {
    std::vector<std::wstring> steps;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L'\\', start);
        if (end == std::wstring::npos) end = text.size();
        if (end > start) steps.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return steps;
}

bool IsBelow(const std::wstring& path, const std::wstring& folder) {
    std::wstring prefix = folder.back() == L'\\' ? folder : folder + L'\\';
    return path.size() > prefix.size() && _wcsnicmp(path.c_str(), prefix.c_str(), prefix.size()) == 0;
}

// The root folders and steps a rule's folder stands for: none, with `why`
// empty, when the machine has no folder for its variable; none with a reason
// when the rule leads below no known folder.
std::vector<RuleFolder> Locate(const std::wstring& spelling, const ISystemInfo& system, std::wstring& why) {
    why.clear();
    std::vector<RuleFolder> located;
    std::optional<std::wstring> expanded = ExpandStepVariables(spelling, system);
    if (!expanded) return located;
    const std::wstring& text = *expanded;
    if (text[0] == L'%') {
        size_t close = text.find(L'%', 1);
        for (const std::wstring& root : RuleVariableFolders(text.substr(1, close - 1), system))
            located.push_back({root, Steps(text.substr(close + 1))});
        return located;
    }
    std::wstring path = NormaliseFolderPath(text);
    for (const std::wstring& root : RuleRoots(system)) {
        std::wstring normalRoot = NormaliseFolderPath(root);
        if (IsBelow(path, normalRoot)) return {{normalRoot, Steps(path.substr(normalRoot.size()))}};
    }
    why = L"leads outside every known folder";
    return located;
}

// Told of a folder a rule may not reach, and why.
using RefuseFolder = std::function<void(const std::wstring& folder, const std::wstring& why)>;

// The paths a located folder stands for; a step with wildcards takes the
// matching folders (or, for the last step when `lastMayBeFile`, files too).
// With `bounds`, a wildcard step lists nothing in a folder where rules may
// not, and tells `refuse` so.
std::vector<std::wstring> Expand(const RuleFolder& located, bool lastMayBeFile, const CRuleBounds* bounds = nullptr,
                                 const RefuseFolder& refuse = {}) {
    std::vector<std::wstring> paths{located.root};
    for (size_t i = 0; i < located.steps.size() && !paths.empty(); ++i) {
        const std::wstring& step = located.steps[i];
        bool last = i + 1 == located.steps.size();
        std::vector<std::wstring> next;
        for (const std::wstring& path : paths) {
            if (!HasWildcard(step)) {
                next.push_back(JoinPath(path, step));
                continue;
            }
            std::wstring folder = path;
            if (bounds) {
                std::optional<CanonicalItem> item = CanonicalItemPath(path);
                if (!item || !item->IsFolder()) continue;
                folder = item->path;
                if (IsLinkOrBehindLink(*item)) {
                    refuse(path, L"is a link or lies behind one");
                    continue;
                }
                if (std::wstring why = bounds->WhyNoWildcardIn(folder); !why.empty()) {
                    refuse(JoinPath(folder, step), why);
                    continue;
                }
            }
            ForEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
                if ((IsFolder(entry) || (last && lastMayBeFile)) && RulePatternMatches(step, entry.cFileName))
                    next.push_back(JoinPath(folder, entry.cFileName));
            });
        }
        paths.swap(next);
    }
    return paths;
}

// True when no form of the spelling can be trusted to name what the
// platform would reach: a device name on its way, or an entry there that the
// canonical form cannot resolve.
bool SpellingUnresolvable(const std::wstring& spelling) {
    for (size_t start = 0; start <= spelling.size();) {
        size_t end = spelling.find(L'\\', start);
        if (end == std::wstring::npos) end = spelling.size();
        if (IsDeviceName(spelling.substr(start, end - start))) return true;
        start = end + 1;
    }
    return ::GetFileAttributesW(ApiPath(spelling).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool DetectFileHolds(const std::wstring& text, const ISystemInfo& system) {
    std::wstring why;
    for (const RuleFolder& located : Locate(text, system, why))
        for (const std::wstring& path : Expand(located, true))
            if (FullPathExists(path)) return true;
    return false;
}

// One entry on one machine.
class CEntryScan {
public:
    CEntryScan(const RuleEntry& entry, const ISystemInfo& system, const CRuleBounds& bounds, IFoundItemSink& sink,
               IRuleReport* report)
        : m_entry(entry), m_system(system), m_bounds(bounds), m_sink(sink), m_report(report) {
        for (const RuleExclude& exclude : entry.excludes) AddExcludeFolders(exclude);
    }

    // Without `walk` only the folders are looked at, to tell those refused.
    void Run(bool walk) {
        // What an exclusion keeps must be known before anything is listed.
        if (!m_unresolvedExclude.empty())
            return Refuse(m_unresolvedExclude, L"an ExcludeKey folder that cannot be resolved: the entry is not applied");
        for (const RuleFileKey& key : m_entry.files) {
            std::wstring why;
            std::vector<RuleFolder> located = Locate(key.folder, m_system, why);
            if (!why.empty()) Refuse(key.folder, why);
            RefuseFolder refuse = [this](const std::wstring& folder, const std::wstring& reason) {
                Refuse(folder, reason);
            };
            for (const RuleFolder& place : located) {
                if (NamesTemp(key.folder) && !TempMayBeCleaned(place.root)) continue;
                for (const std::wstring& folder : Expand(place, false, &m_bounds, refuse))
                    if (std::optional<std::wstring> canonical = Guarded(folder); canonical && walk)
                        Walk(key, *canonical);
            }
        }
    }

private:
    // The existing files and folders an exclusion keeps, in canonical form,
    // whatever spelling (short names, trailing dots) the rule gives; none
    // when its folder is not here.
    void AddExcludeFolders(const RuleExclude& exclude) {
        // What an exclusion keeps must be known: one naming a user this
        // machine cannot name stops its entry.
        if (!ExpandStepVariables(exclude.folder, m_system)) {
            if (m_unresolvedExclude.empty()) m_unresolvedExclude = exclude.folder;
            return;
        }
        for (const RuleFolder& located : LocateExclusion(exclude.folder)) {
            for (const std::wstring& path : Expand(located, exclude.wholeTree)) {
                std::optional<CanonicalItem> item = CanonicalItemPath(path);
                if (item && item->exists)
                    m_excludes.push_back({&exclude, item->path});
                else if (!item && m_unresolvedExclude.empty() && SpellingUnresolvable(path))
                    m_unresolvedExclude = path;
            }
        }
    }

    // An exclusion keeps what it names wherever that lies: a full path need
    // not stand below a variable's folder as a rule's own folder must.
    std::vector<RuleFolder> LocateExclusion(const std::wstring& spelling) const {
        if (spelling[0] == L'%') {
            std::wstring why;
            return Locate(spelling, m_system, why);
        }
        std::optional<std::wstring> expanded = ExpandStepVariables(spelling, m_system);
        if (!expanded) return {};
        // "\\localhost\C$\...", "\\.\C:\..." and a stream suffix name the local item.
        const std::wstring folder = LocalDriveSpelling(*expanded).value_or(*expanded);
        size_t root = folder[1] == L':' ? 3 : folder.find(L'\\', folder.find(L'\\', 2) + 1);
        if (root == std::wstring::npos) return {{folder, {}}};
        return {{folder.substr(0, root), Steps(folder.substr(root))}};
    }

    void Refuse(const std::wstring& folder, const std::wstring& why) {
        if (m_report) m_report->Refused(m_entry, folder, why);
    }

    // A rule below %Temp% stands where TEMP points: the user sets it, and
    // the program runs elevated, so it is walked only where TMP would be cleaned.
    static bool NamesTemp(const std::wstring& folder) { return _wcsnicmp(folder.c_str(), L"%Temp%", 6) == 0; }

    bool TempMayBeCleaned(const std::wstring& root) {
        std::optional<CanonicalItem> item = CanonicalItemPath(root);
        if (!item || !item->IsFolder()) return false;
        if (!IsLinkOrBehindLink(*item) && m_bounds.CleansTemp(item->path)) return true;
        Refuse(root, L"is where TEMP points, outside the user's own temporary folders");
        return false;
    }

    // The canonical form of an existing folder a rule may walk; nothing for
    // a missing one, and a refusal for one it may not.
    std::optional<std::wstring> Guarded(const std::wstring& folder) {
        std::optional<CanonicalItem> item = CanonicalItemPath(folder);
        if (!item || !item->IsFolder()) return std::nullopt;
        if (item->viaReparse || IsLinkOrBehindLink(*item)) {
            Refuse(folder, L"is a link or lies behind one");
            return std::nullopt;
        }
        if (std::wstring why = m_bounds.WhyNotWalked(item->path); !why.empty()) {
            Refuse(folder, why);
            return std::nullopt;
        }
        return item->path;
    }

    bool Excluded(const std::wstring& path, const std::wstring& name) const {
        for (const auto& [exclude, kept] : m_excludes) {
            bool inFolder = exclude->wholeTree ? SamePathText(kept, path) || LiesBelow(path, kept)
                                               : SamePathText(kept, ParentOf(path));
            if (inFolder && (exclude->patterns.empty() || AnyPatternMatches(exclude->patterns, name))) return true;
        }
        return false;
    }

    void Walk(const RuleFileKey& key, const std::wstring& folder) {
        // A folder that goes with all it holds is one item; with exclusions,
        // a choice of files, or among the user's own files only what they
        // leave goes, file by file.
        if (key.removeSelf && TakesEveryFile(key.patterns) && m_entry.excludes.empty() &&
            !m_bounds.InUserContent(folder) && !m_bounds.HoldsKept(folder))
            return AddFolderItem(m_sink, folder);
        WalkFiles(key, folder, 0);
    }

    void WalkFiles(const RuleFileKey& key, const std::wstring& folder, int depth) {
        if (depth > kMaxDepth) return;
        ForEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
            std::wstring path = JoinPath(folder, entry.cFileName);
            if (IsFolder(entry)) {
                if (!key.recurse && !key.removeSelf) return;
                // What lies below may hold what a rule never reaches.
                if (std::wstring why = m_bounds.WhyNotWalked(path); !why.empty()) return Refuse(path, why);
                WalkFiles(key, path, depth + 1);
                return;
            }
            if (!AnyPatternMatches(key.patterns, entry.cFileName) || Excluded(path, entry.cFileName)) return;
            if (IsHiveFileName(entry.cFileName)) return Refuse(path, L"is a file of the registry");
            m_sink.AddFoundItem(path, entry);
        });
    }

    const RuleEntry& m_entry;
    const ISystemInfo& m_system;
    const CRuleBounds& m_bounds;
    IFoundItemSink& m_sink;
    IRuleReport* m_report;
    std::vector<std::pair<const RuleExclude*, std::wstring>> m_excludes;
    std::wstring m_unresolvedExclude;  // the first exclusion spelling that leads nowhere certain
};

}  // namespace

bool RulePatternMatches(const std::wstring& pattern, const std::wstring& name) {
    bool noExtension = name.find(L'.') == std::wstring::npos;
    size_t kept = pattern.find_last_not_of(L'.');
    if (kept != pattern.size() - 1 && kept != std::wstring::npos) {
        // "index." or "data*.": the dots stand for no extension at all.
        std::wstring stem = pattern.substr(0, kept + 1);
        if (stem.find(L'.') != std::wstring::npos) return win::WildcardMatch(stem, name);
        return noExtension && win::WildcardMatch(stem, name);
    }
    if (win::WildcardMatch(pattern, name)) return true;
    return pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, L".*") == 0 && noExtension &&
           win::WildcardMatch(pattern.substr(0, pattern.size() - 2), name);
}

bool RuleEntryApplies(const RuleEntry& entry, const ISystemInfo& system) {
    if (entry.hasOsRange) {
        DWORD version = system.WindowsVersion();
        if (version < entry.osLow || version > entry.osHigh) return false;
    }
    if (entry.detectKeys.empty() && entry.detectFiles.empty()) return true;
    for (const std::wstring& key : entry.detectKeys)
        if (win::RegistryKeyExists(key)) return true;
    for (const std::wstring& file : entry.detectFiles)
        if (DetectFileHolds(file, system)) return true;
    return false;
}

void ScanRuleEntry(const RuleEntry& entry, const ISystemInfo& system, IFoundItemSink& sink, IRuleReport* report,
                   const CRuleBounds* bounds) {
    if (!bounds) return CEntryScan(entry, system, CRuleBounds(system), sink, report).Run(true);
    CEntryScan(entry, system, *bounds, sink, report).Run(true);
}

void CheckRuleFolders(const RulesFile& rules, const ISystemInfo& system, IRuleReport& report) {
    class CNoSink : public IFoundItemSink {
        void AddFoundItem(std::wstring, const WIN32_FIND_DATAW&) override {}
    } none;
    CRuleBounds bounds(system);
    for (const RuleEntry& entry : rules.entries)
        if (RuleEntryApplies(entry, system)) CEntryScan(entry, system, bounds, none, &report).Run(false);
}

void RunRulesScan(const CBriskoDoc& doc, const RulesFile& rules, IFoundItemSink& sink, IRuleReport* report) {
    CRuleBounds bounds(doc.System());
    for (const RuleEntry& entry : rules.entries)
        if (entry.on && RuleEntryApplies(entry, doc.System()))
            ScanRuleEntry(entry, doc.System(), sink, report, &bounds);
}

ULONGLONG FolderTreeBytes(const std::wstring& folder) {
    ULONGLONG total = 0;
    ForEachFileBelow(folder, 0, [&total](const std::wstring&, const WIN32_FIND_DATAW& entry) {
        total += static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow;
    });
    return total;
}
