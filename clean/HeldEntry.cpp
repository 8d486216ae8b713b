#include "clean/HeldEntry.h"

#include <vector>

#include "item/Guards.h"
#include "item/Links.h"
#include "win/Path.h"
#include "win/Text.h"
#include "win/WinePaths.h"

namespace {

// What is left to list a folder that may not be removed itself.
constexpr ACCESS_MASK kWalkAccess = FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE;
// The least that tells what an entry is: no data read, nothing changed.
constexpr ACCESS_MASK kLookAccess = FILE_READ_ATTRIBUTES | SYNCHRONIZE;

// True when the place ends in a backslash and exactly `name`.
bool EndsInName(const std::wstring& place, const std::wstring& name) {
    return place.size() > name.size() && place[place.size() - name.size() - 1] == L'\\' &&
           place.compare(place.size() - name.size(), name.size(), name) == 0;
}

// A place that matches the expected one only without letter case may be
// another entry: under Wine a link "f.tmp" to its folder's own "F.TMP" opens
// that other file and reports its name. It is, when the host holds an entry
// spelled exactly as expected (a folder listing cannot tell: Wine lists
// names that differ in case only once).
bool AnotherEntryInCase(const std::wstring& placed, const std::wstring& expectedPath) {
    const std::wstring name = expectedPath.substr(expectedPath.find_last_of(L'\\') + 1);
    if (EndsInName(placed, name)) return false;
    const std::string host = win::HostPathOf(ApiPath(expectedPath));
    const std::string hostName = win::ToNarrow(name, CP_UTF8);
    return host.size() > hostName.size() && host.compare(host.size() - hostName.size(), hostName.size(), hostName) == 0 &&
           host[host.size() - hostName.size() - 1] == '/';
}

std::optional<HeldEntry> Stays(const RemovalContext& removal, const std::wstring& path, LeftReason reason) {
    removal.report.Left(path, reason);
    return std::nullopt;
}

// The checks on an open handle: its facts, no reparse point, and the place
// the platform reports for it is the expected one (Wine opens a link's
// target and tells it only so).
std::optional<LeftReason> CheckHeld(HeldEntry& held, const std::wstring& expectedFinal) {
    if (!ReadFacts(held.handle.Get(), held.facts)) return LeftReason::Failed;
    if (held.facts.IsReparsePoint()) return LeftReason::Link;
    held.final = FinalPathOfHandle(held.handle.Get());
    if (held.final.empty() || !SamePathText(held.final, expectedFinal)) return LeftReason::Link;
    if (AnotherEntryInCase(held.final, expectedFinal)) return LeftReason::Link;
    return std::nullopt;
}

std::wstring ChildFinal(const std::wstring& folderFinal, const std::wstring& name) {
    std::wstring expected = folderFinal;
    if (expected.empty() || expected.back() != L'\\') expected += L'\\';
    return expected + name;
}


}  // namespace

LeftReason ReasonOf(OpenFailure failure) {
    switch (failure) {
    case OpenFailure::Missing:
        return LeftReason::Missing;
    case OpenFailure::InUse:
        return LeftReason::InUse;
    case OpenFailure::AccessDenied:
        return LeftReason::AccessDenied;
    case OpenFailure::Link:
        return LeftReason::Link;
    default:
        return LeftReason::Failed;
    }
}

bool IsKeptFolder(const std::wstring& canonicalPath, const RemovalGuards& guards) {
    return IsProtectedCanonical(canonicalPath, guards.protectedFolders) ||
           guards.systemFolders.ContainsCanonical(canonicalPath);
}

std::optional<HeldEntry> HoldItem(const CanonicalItem& item, const RemovalContext& removal) {
    OpenedEntry opened = OpenEntryFromRoot(item.path, kRemovalAccess);
    // A folder the program may not remove may still be emptied.
    if (!opened && opened.failure == OpenFailure::AccessDenied && item.IsFolder())
        opened = OpenEntryFromRoot(item.path, kWalkAccess);
    if (!opened) return Stays(removal, item.path, ReasonOf(opened.failure));
    HeldEntry held{std::move(opened.handle), item.path, {}, {}};
    if (std::optional<LeftReason> wrong = CheckHeld(held, item.path)) return Stays(removal, item.path, *wrong);
    held.facts.volumeSerial = ReadVolumeSerial(held.handle.Get());
    // A file where the scan saw a folder, or the other way round: not the item.
    if (held.facts.IsFolder() != item.IsFolder()) return Stays(removal, item.path, LeftReason::Missing);
    return held;
}

namespace {

// The checks of a child opened relative to its held folder: its facts, no
// link, the entry that was listed, at its own place.
std::optional<LeftReason> CheckChild(const HeldEntry& folder, const ChildEntry& listed, HeldEntry& held) {
    if (!ReadFacts(held.handle.Get(), held.facts)) return LeftReason::Failed;
    held.facts.volumeSerial = folder.facts.volumeSerial;
    if (held.facts.IsReparsePoint()) return LeftReason::Link;
    // Swapped since the listing: whatever stands there now is not what was
    // listed (under Wine, the target of a link put in its place).
    if (listed.fileId != 0 && held.facts.fileId != listed.fileId) return LeftReason::Link;
    // A link opened by mistake shows in the place the platform reports for
    // the open entry: a file link under Wine only so, and a folder link too
    // when it was swapped in between the listing's looks at the name.
    // Under Wine a link "f.tmp" to its folder's own "F.TMP" opens that other
    // file, and only the letter case of the reported place tells it.
    const std::wstring placed = FinalPathOfHandle(held.handle.Get());
    if (!SamePathText(placed, held.final) || (listed.nameAsListed && !EndsInName(placed, listed.name)) ||
        (!listed.nameAsListed && AnotherEntryInCase(placed, held.path)))
        return LeftReason::Link;
    return std::nullopt;
}

}  // namespace

std::optional<HeldEntry> HoldChild(const HeldEntry& folder, const ChildEntry& listed, const RemovalContext& removal) {
    std::wstring path = JoinPath(folder.path, listed.name);
    if (listed.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Stays(removal, path, LeftReason::Link);
    OpenedEntry opened = OpenChild(folder.handle.Get(), listed.name, kRemovalAccess);
    if (!opened && opened.failure == OpenFailure::AccessDenied && (listed.attributes & FILE_ATTRIBUTE_DIRECTORY))
        opened = OpenChild(folder.handle.Get(), listed.name, kWalkAccess);
    if (!opened) {
        if (opened.failure == OpenFailure::Missing) return std::nullopt;
        return Stays(removal, path, ReasonOf(opened.failure));
    }
    HeldEntry held{std::move(opened.handle), std::move(path), ChildFinal(folder.final, listed.name), {}};
    if (std::optional<LeftReason> wrong = CheckChild(folder, listed, held)) return Stays(removal, held.path, *wrong);
    return held;
}

LookedChild LookAtChild(const HeldEntry& folder, const ChildEntry& listed) {
    auto is = [](ChildKind kind) { return LookedChild{kind, std::nullopt}; };
    if (listed.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return is(ChildKind::Link);
    const bool isFolder = (listed.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    OpenedEntry opened = OpenChild(folder.handle.Get(), listed.name, isFolder ? kWalkAccess : kLookAccess);
    if (!opened) {
        if (opened.failure == OpenFailure::Missing) return is(ChildKind::Gone);
        return is(opened.failure == OpenFailure::Link ? ChildKind::Link : ChildKind::Unreadable);
    }
    HeldEntry held{std::move(opened.handle), JoinPath(folder.path, listed.name), ChildFinal(folder.final, listed.name), {}};
    if (std::optional<LeftReason> wrong = CheckChild(folder, listed, held))
        return is(*wrong == LeftReason::Link ? ChildKind::Link : ChildKind::Unreadable);
    if (held.facts.IsFolder() != isFolder) return is(ChildKind::Gone);  // another entry since the listing
    if (!isFolder) return is(ChildKind::File);
    return {ChildKind::Folder, std::move(held)};
}

std::optional<HeldEntry> HoldFolderAt(const std::wstring& canonicalPath, LeftReason* whyNot) {
    auto fails = [&](LeftReason reason) -> std::optional<HeldEntry> {
        if (whyNot) *whyNot = reason;
        return std::nullopt;
    };
    OpenedEntry opened = OpenEntryFromRoot(canonicalPath, kWalkAccess);
    if (!opened) return fails(ReasonOf(opened.failure));
    HeldEntry held{std::move(opened.handle), canonicalPath, {}, {}};
    if (std::optional<LeftReason> wrong = CheckHeld(held, canonicalPath)) return fails(*wrong);
    if (!held.facts.IsFolder()) return fails(LeftReason::Missing);
    held.facts.volumeSerial = ReadVolumeSerial(held.handle.Get());
    return held;
}

bool HeldTreeHoldsLink(const HeldEntry& top, EntryAmount* amount) {
    struct Finder : IRemovalReport {
        bool found = false;
        void Removing(const std::wstring&) override {}
        void Left(const std::wstring&, LeftReason) override { found = true; }
    } finder;
    const RemovalContext looking{MachineGuards(), finder};
    // Depth first with a stack of its own: a tree may be thousands deep.
    std::vector<HeldEntry> pending;
    auto holdsLink = [&](const HeldEntry& folder) {
        for (const ChildEntry& child : ListChildren(folder.handle.Get())) {
            if (amount && !(child.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                ++amount->files;
                amount->bytes += child.size;
            }
            std::optional<HeldEntry> held = HoldChild(folder, child, looking);
            if (finder.found) return true;
            if (held && held->facts.IsFolder()) pending.push_back(std::move(*held));
        }
        return false;
    };
    if (holdsLink(top)) return true;
    while (!pending.empty()) {
        HeldEntry folder = std::move(pending.back());
        pending.pop_back();
        if (holdsLink(folder)) return true;
    }
    return false;
}

bool TreeHoldsLink(const std::wstring& folder) {
    std::optional<HeldEntry> held = HoldFolderAt(folder);
    return !held || HeldTreeHoldsLink(*held);
}
