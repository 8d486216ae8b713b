#include "scan/RulesScan.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "item/CriticalFolders.h"
#include "item/FolderHandle.h"
#include "item/Guards.h"
#include "item/ItemPath.h"
#include "item/RegistryRow.h"
#include "item/Links.h"
#include "win/LocalSpelling.h"
#include "scan/EntryFindings.h"
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

// A folder a walk lists, opened once: its entries are listed and opened
// through this handle. `final` is the path the platform gives the opened
// folder; each entry's own must be that and its name, or it is a link.
struct ListedFolder {
    std::wstring path;
    std::wstring final;
    win::FileHandle handle;
};

// The folder at `path` opened to be listed; nothing when it cannot be.
std::optional<ListedFolder> OpenListed(const std::wstring& path) {
    win::FileHandle handle = OpenFolderToList(path);
    if (!handle) return std::nullopt;
    std::wstring final = FinalPathOfHandle(handle.Get());
    return ListedFolder{path, std::move(final), std::move(handle)};
}

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens the entry of the listed folder relative to it: a folder to list
// it, a file `free` with no sharing (failing while anyone else holds it) or
// only to ask its final path. Nothing for a link, for what cannot be opened
// and for a name no path reaches, which no row could name.
win::FileHandle OpenNoLink(const ListedFolder& folder, const WIN32_FIND_DATAW& entry, bool free) {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || IsNameNoPathReaches(entry.cFileName) ||
        folder.final.empty())
        return {};
    const bool isFolder = IsFolder(entry);
    const ACCESS_MASK access = isFolder ? FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES
                                        : (free ? GENERIC_READ : FILE_READ_ATTRIBUTES);
    win::FileHandle opened;
    if (OpenEntryOfFolder(folder.handle.Get(), entry.cFileName, access, isFolder || !free ? kShareAll : 0, FILE_OPEN,
                          isFolder ? FILE_DIRECTORY_FILE : FILE_NON_DIRECTORY_FILE, opened) < 0)
        return {};
    const std::wstring final = FinalPathOfHandle(opened.Get());
    if (final.empty() || FinalPathShowsLink(folder.final, entry.cFileName, final)) return {};
    return opened;
}

using EntryWanted = std::function<bool(const WIN32_FIND_DATAW&)>;
using VisitFolderEntry = std::function<void(ListedFolder&, const WIN32_FIND_DATAW&)>;
using VisitFileEntry = std::function<void(const std::wstring& path, const WIN32_FIND_DATAW&)>;

// Every entry of the listed folder that `wanted` takes, but links, which
// are neither listed nor entered: each folder opened to be listed in turn,
// each file opened once, with no sharing when `filesFree` (then a file in
// use is left out too).
void ForEachEntryOf(const ListedFolder& folder, const EntryWanted& wanted, bool filesFree,
                    const VisitFolderEntry& visitFolder, const VisitFileEntry& visitFile) {
    VisitFolderRecords(folder.handle.Get(), [&](const FILE_ID_BOTH_DIR_INFO& record) {
        const WIN32_FIND_DATAW entry = FindDataOf(record);
        if (wanted && !wanted(entry)) return;
        win::FileHandle opened = OpenNoLink(folder, entry, filesFree);
        if (!opened) return;
        if (!IsFolder(entry)) {
            opened.Reset();
            return visitFile(JoinPath(folder.path, entry.cFileName), entry);
        }
        ListedFolder child{JoinPath(folder.path, entry.cFileName), JoinPath(folder.final, entry.cFileName),
                           std::move(opened)};
        visitFolder(child, entry);
    });
}

// Each entry of a folder not checked before, as a directory search names it.
void ForEachEntry(const std::wstring& folder, const std::function<void(const WIN32_FIND_DATAW&)>& visit) {
    std::optional<ListedFolder> listed = OpenListed(folder);
    if (!listed) return;
    ForEachEntryOf(
        *listed, {}, false, [&](ListedFolder&, const WIN32_FIND_DATAW& entry) { visit(entry); },
        [&](const std::wstring&, const WIN32_FIND_DATAW& entry) { visit(entry); });
}

void ForEachFileBelow(const ListedFolder& folder, int depth, const VisitFileEntry& visit) {
    if (depth > kMaxDepth) return;
    ForEachEntryOf(
        folder, {}, false, [&](ListedFolder& child, const WIN32_FIND_DATAW&) { ForEachFileBelow(child, depth + 1, visit); },
        visit);
}

// A rule's folder as a root folder and the steps below it, '*' and '?' still in them.
struct RuleFolder {
    std::wstring root;
    std::vector<std::wstring> steps;
};

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
            located.push_back({root, PathSteps(text.substr(close + 1))});
        return located;
    }
    std::wstring path = NormaliseFolderPath(text);
    for (const std::wstring& root : RuleRoots(system)) {
        std::wstring normalRoot = NormaliseFolderPath(root);
        if (IsBelow(path, normalRoot)) return {{normalRoot, PathSteps(path.substr(normalRoot.size()))}};
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

// What the checks of a rule's folder found, kept for every entry of one
// scan that names the folder again: each folder is resolved once.
class CFolderChecks {
public:
    struct Checked {
        std::optional<std::wstring> canonical;  // the folder to walk, when it may be
        std::wstring why;                       // why it may not, when it exists
    };
    template <typename Check>
    const Checked& Of(const std::wstring& folder, Check check) {
        auto [at, added] = m_checked.try_emplace(win::CaseFolded(folder));
        if (added) at->second = check();
        return at->second;
    }

private:
    std::unordered_map<std::wstring, Checked> m_checked;
};

// The folders the entries take whole, by item key, each kept as found for
// the entry that took it.
class CWholeFolders : public IFoundItemSink {
public:
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
        Keep(std::move(path), findData, false);
    }
    void AddCheckedItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
        Keep(std::move(path), findData, true);
    }
    void FromRuleEntry(std::uint16_t entry) override { m_entry = entry; }
    bool Empty() const { return m_keys.empty(); }
    // True when `path` lies below one of the folders.
    bool Holds(const std::wstring& path) const {
        const std::wstring key = ItemKey(path);
        for (size_t slash = key.rfind(L'\\'); slash != std::wstring::npos && slash > 0; slash = key.rfind(L'\\', slash - 1))
            if (m_keys.count(key.substr(0, slash))) return true;
        return false;
    }
    // Hands `sink` the folder `entry` took whole at `folder`, as it was
    // found; false when that entry took none there.
    bool HandOn(std::uint16_t entry, const std::wstring& folder, IFoundItemSink& sink) const {
        auto found = m_found.find({entry, ItemKey(folder)});
        if (found == m_found.end()) return false;
        const Found& whole = found->second;
        if (whole.checked)
            sink.AddCheckedItem(whole.path, whole.findData);
        else
            sink.AddFoundItem(whole.path, whole.findData);
        return true;
    }

private:
    struct Found {
        std::wstring path;
        WIN32_FIND_DATAW findData;
        bool checked;
    };
    void Keep(std::wstring path, const WIN32_FIND_DATAW& findData, bool checked) {
        std::wstring key = ItemKey(path);
        m_keys.insert(key);
        m_found.try_emplace({m_entry, std::move(key)}, Found{std::move(path), findData, checked});
    }
    std::unordered_set<std::wstring> m_keys;
    std::map<std::pair<std::uint16_t, std::wstring>, Found> m_found;
    std::uint16_t m_entry = 0;
};

// One entry on one machine.
class CEntryScan {
public:
    CEntryScan(const RuleEntry& entry, const ISystemInfo& system, const CRuleBounds& bounds, IFoundItemSink& sink,
               IRuleReport* report, CFolderChecks* checks = nullptr)
        : m_entry(entry), m_system(system), m_bounds(bounds), m_sink(sink), m_report(report), m_checks(checks) {
        for (const RuleExclude& exclude : entry.excludes) AddExcludeFolders(exclude);
    }

    // The folders this entry, numbered `number`, was found to take whole
    // before: handed on as found, not looked at again.
    void TakeWholeFrom(const CWholeFolders& whole, std::uint16_t number) {
        m_whole = &whole;
        m_number = number;
    }

    // How much of the entry a run looks at.
    enum class Look {
        Refusals,      // the folders only, to tell those refused
        WholeFolders,  // the folders that would go whole, and nothing below them
        Everything,
    };

    void Run(Look look) {
        // What an exclusion keeps must be known before anything is listed.
        if (!m_unresolvedExclude.empty())
            return Refuse(m_unresolvedExclude, L"an ExcludeKey folder that cannot be resolved: the entry is not applied");
        for (const RuleFileKey& key : m_entry.files) {
            if (look == Look::WholeFolders && !(key.removeSelf && TakesEveryFile(key.patterns))) continue;
            std::wstring why;
            std::vector<RuleFolder> located = Locate(key.folder, m_system, why);
            if (!why.empty()) Refuse(key.folder, why);
            RefuseFolder refuse = [this](const std::wstring& folder, const std::wstring& reason) {
                Refuse(folder, reason);
            };
            for (const RuleFolder& place : located) {
                if (NamesTemp(key.folder) && !TempMayBeCleaned(place.root)) continue;
                for (const std::wstring& folder : Expand(place, false, &m_bounds, refuse)) {
                    win::FileHandle held;
                    std::optional<std::wstring> canonical = Guarded(folder, look != Look::Refusals ? &held : nullptr);
                    if (canonical && look != Look::Refusals)
                        Walk(key, *canonical, std::move(held), look == Look::WholeFolders);
                }
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
        return {{folder.substr(0, root), PathSteps(folder.substr(root))}};
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
    // a missing one, and a refusal for one it may not. `held`, when given,
    // receives the folder opened to be listed if it was checked just now.
    std::optional<std::wstring> Guarded(const std::wstring& folder, win::FileHandle* held) {
        CFolderChecks::Checked own;
        const CFolderChecks::Checked& checked =
            m_checks ? m_checks->Of(folder, [&] { return Check(folder, held); }) : (own = Check(folder, held));
        if (!checked.why.empty()) Refuse(folder, checked.why);
        return checked.canonical;
    }

    CFolderChecks::Checked Check(const std::wstring& folder, win::FileHandle* held) const {
        // Most rules spell their folders plainly: one open tells that.
        // The keys of an entry name folders below one another, so each folder
        // found is kept to resolve the next spellings through it.
        if (std::optional<FolderAsSpelled> direct = OpenFolderAsSpelled(folder)) {
            KeepResolvedFolder(folder, direct->canonical);
            return Admit(direct->canonical, std::move(direct->handle), held);
        }
        std::optional<CanonicalItem> item = CanonicalItemPath(folder);
        if (!item || !item->IsFolder()) return {};
        win::FileHandle opened;
        std::wstring final;
        if (FolderIsLink(*item, opened, final)) return {std::nullopt, L"is a link or lies behind one"};
        if (!final.empty()) KeepResolvedFolder(folder, final);
        return Admit(item->path, std::move(opened), held);
    }

    // A folder found no link at its canonical path, walked unless it lies
    // where rules may not walk.
    CFolderChecks::Checked Admit(const std::wstring& canonical, win::FileHandle opened, win::FileHandle* held) const {
        if (std::wstring why = m_bounds.WhyNotWalked(canonical); !why.empty()) return {std::nullopt, why};
        if (held) *held = std::move(opened);
        return {canonical, {}};
    }

    // True when the existing folder is a link, lies behind one, or that
    // cannot be told. The one open that tells it is kept in `opened` to list
    // the folder, and the final path it gives in `final`.
    static bool FolderIsLink(const CanonicalItem& item, win::FileHandle& opened, std::wstring& final) {
        if ((item.attributes & FILE_ATTRIBUTE_REPARSE_POINT) || item.viaReparse) return true;
        opened = OpenFolderToList(item.path);
        if (!opened) return IsLinkOrBehindLink(item);  // not to be listed, but it may still be no link
        final = FinalPathOfHandle(opened.Get());
        return final.empty() || !SamePathText(final, item.path);
    }

    // The checked folder to list: through the handle its check kept, or
    // opened again; nothing when it no longer stands where its canonical
    // path says (a folder swapped for a link since).
    static std::optional<ListedFolder> ListedChecked(const std::wstring& folder, win::FileHandle held) {
        if (held) return ListedFolder{folder, folder, std::move(held)};
        std::optional<ListedFolder> listed = OpenListed(folder);
        if (!listed || !SamePathText(listed->final, folder)) return std::nullopt;
        return listed;
    }

    bool Excluded(const std::wstring& path, const std::wstring& name) const {
        for (const auto& [exclude, kept] : m_excludes) {
            bool inFolder = exclude->wholeTree ? SamePathText(kept, path) || LiesBelow(path, kept)
                                               : SamePathText(kept, ParentOf(path));
            if (inFolder && (exclude->patterns.empty() || AnyPatternMatches(exclude->patterns, name))) return true;
        }
        return false;
    }

    void Walk(const RuleFileKey& key, const std::wstring& folder, win::FileHandle held, bool wholeOnly) {
        // A folder that goes with all it holds is one item; for a choice of
        // files only they go, file by file.
        if (key.removeSelf && TakesEveryFile(key.patterns)) {
            if (m_whole && m_whole->HandOn(m_number, folder, m_sink)) return;
            return WalkEmptying(folder, std::move(held), 0, wholeOnly);
        }
        if (wholeOnly) return;
        if (std::optional<ListedFolder> listed = ListedChecked(folder, std::move(held))) WalkFiles(key, *listed, 0);
    }

    // A folder that goes whole: one item, unless it holds what an exclusion
    // keeps or lies among the user's own files. Then what is not kept goes
    // file by file, and each folder below that holds nothing kept goes whole.
    void WalkEmptying(const std::wstring& folder, win::FileHandle held, int depth, bool wholeOnly) {
        if (!HoldsExcluded(folder) && !m_bounds.InUserContent(folder) && !m_bounds.HoldsKept(folder))
            return AddWholeFolder(folder, held);
        if (depth > kMaxDepth || wholeOnly) return;
        // A checked folder's final path is its canonical one, and so is
        // that of each entry listed in it as no link.
        std::optional<ListedFolder> listed = ListedChecked(folder, std::move(held));
        if (!listed) return;
        ForEachEntryOf(
            *listed, [&](const WIN32_FIND_DATAW& entry) { return !FileKept(*listed, entry); }, true,
            [&](ListedFolder& child, const WIN32_FIND_DATAW&) {
                if (std::wstring why = m_bounds.WhyNotWalked(child.path); !why.empty()) return Refuse(child.path, why);
                WalkEmptying(child.path, std::move(child.handle), depth + 1, false);
            },
            [&](const std::wstring& path, const WIN32_FIND_DATAW& entry) { AddUnlessExcluded(path, entry); });
    }

    // The checked folder as one item, its entry read through the handle its
    // check kept where there is one.
    void AddWholeFolder(const std::wstring& folder, const win::FileHandle& held) {
        WIN32_FIND_DATAW entry;
        if (held && FolderFindData(held.Get(), folder.substr(folder.rfind(L'\\') + 1), entry))
            return m_sink.AddCheckedItem(folder, entry);
        AddFolderItem(m_sink, folder);
    }

    // True when an exclusion keeps something at or below `folder`, or the folder itself.
    bool HoldsExcluded(const std::wstring& folder) const {
        for (const auto& [exclude, kept] : m_excludes)
            if (SamePathText(kept, folder) || LiesBelow(kept, folder) || (exclude->wholeTree && LiesBelow(folder, kept)))
                return true;
        return false;
    }

    // True for a file of the listed folder that an exclusion keeps: it is
    // never listed, so it need not be opened either.
    bool FileKept(const ListedFolder& folder, const WIN32_FIND_DATAW& entry) const {
        return !m_excludes.empty() && !IsFolder(entry) && Excluded(JoinPath(folder.path, entry.cFileName), entry.cFileName);
    }

    void AddUnlessExcluded(const std::wstring& path, const WIN32_FIND_DATAW& entry) {
        if (Excluded(path, entry.cFileName)) return;
        if (IsHiveFileName(entry.cFileName)) return Refuse(path, L"is a file of the registry");
        m_sink.AddCheckedItem(path, entry);  // opened with no sharing as it was listed
    }

    void WalkFiles(const RuleFileKey& key, const ListedFolder& folder, int depth) {
        if (depth > kMaxDepth) return;
        EntryWanted wanted = [&](const WIN32_FIND_DATAW& entry) {
            if (IsFolder(entry)) return key.recurse || key.removeSelf;
            return AnyPatternMatches(key.patterns, entry.cFileName) && !FileKept(folder, entry);
        };
        ForEachEntryOf(
            folder, wanted, true,
            [&](ListedFolder& child, const WIN32_FIND_DATAW&) {
                // What lies below may hold what a rule never reaches.
                if (std::wstring why = m_bounds.WhyNotWalked(child.path); !why.empty()) return Refuse(child.path, why);
                WalkFiles(key, child, depth + 1);
            },
            [&](const std::wstring& path, const WIN32_FIND_DATAW& entry) { AddUnlessExcluded(path, entry); });
    }

    const RuleEntry& m_entry;
    const ISystemInfo& m_system;
    const CRuleBounds& m_bounds;
    IFoundItemSink& m_sink;
    IRuleReport* m_report;
    std::vector<std::pair<const RuleExclude*, std::wstring>> m_excludes;
    std::wstring m_unresolvedExclude;  // the first exclusion spelling that leads nowhere certain
    CFolderChecks* m_checks;  // shared by the entries of one scan, when given
    const CWholeFolders* m_whole = nullptr;  // what the entries were found to take whole, when known
    std::uint16_t m_number = 0;              // this entry's number there
};

// Hands on what lies below none of the whole folders.
class CSwallowedBelow : public IFoundItemSink {
public:
    CSwallowedBelow(IFoundItemSink& next, const CWholeFolders& whole) : m_next(next), m_whole(whole) {}
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
        if (!m_whole.Empty() && !LooksLikeRegistryRow(path) && m_whole.Holds(path)) return;
        m_next.AddFoundItem(std::move(path), findData);
    }
    void AddCheckedItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
        if (!m_whole.Empty() && m_whole.Holds(path)) return;
        m_next.AddCheckedItem(std::move(path), findData);
    }
    void FromRuleEntry(std::uint16_t entry) override { m_next.FromRuleEntry(entry); }

private:
    IFoundItemSink& m_next;
    const CWholeFolders& m_whole;
};

// Hands on each key, or value, of the entry's RegKey lines that is there.
void ScanRegistryKeys(const RuleEntry& entry, IFoundItemSink& sink) {
    for (const RegistryRow& row : entry.registryKeys) {
        win::RegistryKey key = win::RegistryKey::Open(row.root, row.Key());
        if (!key || (!row.wholeKey && !key.HasValue(row.value))) continue;
        WIN32_FIND_DATAW record{};
        record.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
        sink.AddFoundItem(RegistryRowText(row), record);
    }
}

// Scans the entries that apply, on the thread it was made on, from what
// the first pass found: each thread resolves and checks folders on its own.
class CEntriesScanner : public IEntryScanner {
public:
    struct Shared {
        const RulesFile& rules;
        const std::vector<bool>& scanned;  // by entry: on, and applies here
        const ISystemInfo& system;
        const CRuleBounds& bounds;
        const CFolderChecks& checked;  // by the first pass
        const CWholeFolders& whole;
    };
    explicit CEntriesScanner(const Shared& shared) : m_shared(shared), m_checks(shared.checked) {}

    void Scan(size_t index, CEntryFindings& findings) override {
        if (!m_shared.scanned[index]) return;
        const RuleEntry& entry = m_shared.rules.entries[index];
        CEntryScan scan(entry, m_shared.system, m_shared.bounds, findings, &findings, &m_checks);
        scan.TakeWholeFrom(m_shared.whole, static_cast<std::uint16_t>(index + 1));
        scan.Run(CEntryScan::Look::Everything);
        ScanRegistryKeys(entry, findings);
    }

private:
    const Shared& m_shared;
    CResolvedFoldersKept m_resolved;  // this thread's
    CFolderChecks m_checks;
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
    if (entry.detectionUndecidable) return false;
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
    if (!bounds)
        CEntryScan(entry, system, CRuleBounds(system), sink, report).Run(CEntryScan::Look::Everything);
    else
        CEntryScan(entry, system, *bounds, sink, report).Run(CEntryScan::Look::Everything);
    ScanRegistryKeys(entry, sink);
}

void CheckRuleFolders(const RulesFile& rules, const ISystemInfo& system, IRuleReport& report) {
    class CNoSink : public IFoundItemSink {
        void AddFoundItem(std::wstring, const WIN32_FIND_DATAW&) override {}
    } none;
    CRuleBounds bounds(system);
    for (const RuleEntry& entry : rules.entries)
        if (RuleEntryApplies(entry, system)) CEntryScan(entry, system, bounds, none, &report).Run(CEntryScan::Look::Refusals);
}

void RunRulesScan(const CBriskoDoc& doc, const RulesFile& rules, IFoundItemSink& sink, IRuleReport* report) {
    const ISystemInfo& system = doc.System();
    CRuleBounds bounds(system);
    CResolvedFoldersKept resolved;  // the entries' folders share their parents
    std::vector<bool> scanned(rules.entries.size());
    for (size_t index = 0; index < rules.entries.size(); ++index)
        scanned[index] = rules.entries[index].on && RuleEntryApplies(rules.entries[index], system);
    // A folder one entry takes whole swallows what any entry finds below it:
    // no row stands inside another, and no clean meets an item its folder took.
    CFolderChecks checks;
    CWholeFolders whole;
    for (size_t index = 0; index < rules.entries.size(); ++index) {
        if (!scanned[index]) continue;
        whole.FromRuleEntry(static_cast<std::uint16_t>(index + 1));
        CEntryScan(rules.entries[index], system, bounds, whole, nullptr, &checks).Run(CEntryScan::Look::WholeFolders);
    }
    CSwallowedBelow outside(sink, whole);
    const CEntriesScanner::Shared shared{rules, scanned, system, bounds, checks, whole};
    ScanEntriesInOrder(
        rules.entries.size(), [&shared] { return std::make_unique<CEntriesScanner>(shared); },
        [&](size_t index, CEntryFindings& findings) {
            if (!scanned[index]) return;
            outside.FromRuleEntry(static_cast<std::uint16_t>(index + 1));
            findings.HandOn(outside, report);
        });
    outside.FromRuleEntry(0);
}

ULONGLONG FolderTreeBytes(const std::wstring& folder) {
    ULONGLONG total = 0;
    std::optional<ListedFolder> listed = OpenListed(folder);
    if (!listed) return 0;
    ForEachFileBelow(*listed, 0, [&total](const std::wstring&, const WIN32_FIND_DATAW& entry) {
        total += static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow;
    });
    return total;
}

void CRuleEntryTotal::AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) {
    ++items;
    bytes += IsFolder(findData) ? FolderTreeBytes(path)
                                : static_cast<ULONGLONG>(findData.nFileSizeHigh) << 32 | findData.nFileSizeLow;
}
