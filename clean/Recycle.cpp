#include "clean/Recycle.h"

#include <ntsecapi.h>

#include "clean/DeleteItem.h"
#include "clean/Guards.h"
#include "clean/Links.h"
#include "win/Path.h"

namespace {

constexpr size_t kNameLimit = 255;

struct Renamed {
    HeldEntry item;
    std::wstring ownName;
    std::wstring newName;    // unguessable
    std::wstring shellPath;  // the new name inside the folder, as the shell takes it
    std::wstring finalPath;  // where the platform must report it before the move
    EntryAmount amount;      // its files and bytes
};

std::wstring FinalInside(const HeldEntry& folder, const std::wstring& name) {
    std::wstring path = folder.final;
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path + name;
}

// True when `name` in the folder opens as the file `facts` describe.
bool HoldsSameFile(const HeldEntry& folder, const std::wstring& name, const EntryFacts& facts) {
    OpenedEntry there = OpenChild(folder.handle.Get(), name, FILE_READ_ATTRIBUTES);
    EntryFacts found;
    return there && ReadFacts(there.handle.Get(), found) && found.fileId == facts.fileId;
}

// Renames the held item inside its held folder and checks where it went;
// false, with the item's own name given back, when anything differs.
bool MakeHardToSwap(HeldEntry item, const HeldEntry& folder, const EntryAmount& amount, std::vector<Renamed>& out,
                    const RemovalContext& removal) {
    std::wstring ownName = item.path.substr(item.path.find_last_of(L'\\') + 1);
    std::wstring newName = UnguessableName(ownName);
    std::wstring shellPath = JoinPath(folder.path, newName);
    if (shellPath.size() >= MAX_PATH) {
        // Beyond the plain length the shell takes the folder's short form and
        // a short name: the short name of an entry cannot be looked up while
        // its folder is held for removal (the look-up shares no removal).
        newName = UnguessableShortName();
        std::wstring shortFolder = ShellSpelling(folder.path);
        shellPath = shortFolder.empty() ? std::wstring() : JoinPath(shortFolder, newName);
        if (shellPath.size() >= MAX_PATH) shellPath.clear();
    }
    if (shellPath.empty()) {
        removal.report.Left(item.path, LeftReason::Failed);
        return false;
    }
    // Wine renames the entry by the name it keeps for the handle, the place
    // it was opened at with links resolved: the handle must be this name's
    // own, or the rename would pull a link's target in from elsewhere.
    if (!SamePathText(FinalPathOfHandle(item.handle.Get()), FinalInside(folder, ownName))) {
        removal.report.Left(item.path, LeftReason::Link);
        return false;
    }
    if (!RenameWithinFolder(item.handle.Get(), folder.handle.Get(), folder.path, newName)) {
        removal.report.Left(item.path, LeftReason::Failed);
        return false;
    }
    std::wstring finalPath = FinalInside(folder, newName);
    // Wine renames by the name it last knew the handle by: if that name was
    // swapped meanwhile, the swapped-in link moved instead, and the handle now
    // names the link's target. The handle is then never renamed again (that
    // would pull the target in); the link keeps its new name and our item
    // its own.
    if (!SamePathText(FinalPathOfHandle(item.handle.Get()), finalPath)) {
        removal.report.Left(item.path, LeftReason::Link);
        return false;
    }
    // The new name must hold this very file, not just report the right place.
    if (!HoldsSameFile(folder, newName, item.facts)) {
        RenameWithinFolder(item.handle.Get(), folder.handle.Get(), folder.path, ownName);
        removal.report.Left(item.path, LeftReason::Link);
        return false;
    }
    out.push_back(Renamed{std::move(item), ownName, newName, shellPath, finalPath, amount});
    return true;
}

// Hands the renamed items to the shell in one operation, then asks each
// handle where its item is: one still under its new name did not move and
// gets its own name back.
bool MoveRenamed(std::vector<Renamed>& renamed, const HeldEntry& folder, const RemovalContext& removal) {
    if (renamed.empty()) return true;
    std::vector<std::wstring> paths;
    for (const Renamed& entry : renamed) {
        removal.report.RemovingMeasured(entry.item.path, entry.amount.files, entry.amount.bytes);
        paths.push_back(entry.shellPath);
    }
    bool shellDone = ShellDeleteList(paths, false);
    bool allMoved = true;
    for (Renamed& entry : renamed) {
        if (!HoldsSameFile(folder, entry.newName, entry.item.facts)) continue;
        RenameWithinFolder(entry.item.handle.Get(), folder.handle.Get(), folder.path, entry.ownName);
        removal.report.Left(entry.item.path, LeftReason::Failed);
        allMoved = false;
    }
    return shellDone && allMoved;
}

}  // namespace

std::wstring RandomHex(size_t bytes) {
    BYTE random[16] = {};
    if (bytes > sizeof(random)) bytes = sizeof(random);
    if (!::RtlGenRandom(random, static_cast<ULONG>(bytes))) {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        for (size_t i = 0; i < sizeof(random); ++i) random[i] ^= static_cast<BYTE>(now.QuadPart >> (i % 8 * 8));
    }
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::wstring result;
    for (size_t i = 0; i < bytes; ++i) {
        result += kHex[random[i] >> 4];
        result += kHex[random[i] & 15];
    }
    return result;
}

std::wstring UnguessableShortName() {
    std::wstring hex = RandomHex(6);
    return hex.substr(0, 8) + L"." + hex.substr(8, 3);
}

std::wstring UnguessableName(const std::wstring& name) {
    std::wstring result = L"~" + RandomHex(12) + L"~";
    size_t room = kNameLimit - result.size();
    return result + (name.size() > room ? name.substr(name.size() - room) : name);
}

bool RecycleHeld(HeldEntry item, const RemovalContext& removal, const EntryAmount& amount) {
    std::optional<HeldEntry> folder = HoldFolderAt(ParentOf(item.path));
    if (!folder) {
        removal.report.Left(item.path, LeftReason::Link);
        return false;
    }
    std::vector<Renamed> renamed;
    if (!MakeHardToSwap(std::move(item), *folder, amount, renamed, removal)) return false;
    return MoveRenamed(renamed, *folder, removal);
}

bool RecycleHeldContents(const HeldEntry& folder, const RemovalContext& removal) {
    std::vector<Renamed> renamed;
    for (const ChildEntry& entry : ListChildren(folder.handle.Get())) {
        std::optional<HeldEntry> child = HoldChild(folder, entry, removal);
        if (!child) continue;
        // Measured before the rename (a file as listed, a folder by the link
        // test's walk): between the rename and the move nothing may wait.
        EntryAmount amount{1, entry.size};
        if (child->facts.IsFolder()) {
            amount = {};
            if (IsKeptFolder(child->path, removal.guards)) {
                removal.report.Left(child->path, LeftReason::Protected);
                continue;
            }
            if (HeldTreeHoldsLink(*child, &amount)) {
                removal.report.Left(child->path, LeftReason::Link);
                continue;
            }
        }
        if (removal.guards.excluded.Covers(child->path)) {
            removal.report.Left(child->path, LeftReason::Excluded);
        } else if (child->facts.IsFolder() && removal.guards.excluded.HoldsExcluded(child->path)) {
            RecycleHeldContents(*child, removal);  // around what a policy keeps
        } else {
            MakeHardToSwap(std::move(*child), folder, amount, renamed, removal);
        }
    }
    return MoveRenamed(renamed, folder, removal);
}
