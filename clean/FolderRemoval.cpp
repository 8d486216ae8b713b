#include "clean/FolderRemoval.h"

#include <vector>

#include "item/Guards.h"
#include "item/ItemPath.h"
#include "win/Path.h"

namespace {

// A folder on the walk's stack: held, and its entries read in full before
// any of them is removed.
struct Level {
    HeldEntry folder;
    std::vector<ChildEntry> entries;
    size_t next = 0;
    size_t leftBefore = 0;  // what the walk had told to stay when it entered
};

Level Enter(HeldEntry folder, size_t leftSoFar) {
    std::vector<ChildEntry> entries = ListChildren(folder.handle.Get());
    return Level{std::move(folder), std::move(entries), 0, leftSoFar};
}

LeftReason FolderRemovalFailure(DWORD error) {
    switch (error) {
    case ERROR_DIR_NOT_EMPTY:
        return LeftReason::NotEmpty;
    case ERROR_ACCESS_DENIED:
        return LeftReason::AccessDenied;
    case ERROR_SHARING_VIOLATION:
        return LeftReason::InUse;
    default:
        return LeftReason::Failed;
    }
}

// Everything below the held folder that is no link and lies behind none,
// depth first with a stack of its own (a tree may be thousands deep). Each
// level's handle stays open until its folder is done; the top one is handed
// back to `top` at the end. True when something below it stays.
bool WalkAndRemove(HeldEntry& top, const RemovalContext& outer) {
    CLeftCounter counter(outer.report);
    const RemovalContext removal{outer.guards, counter, outer.bins};
    std::vector<Level> stack;
    stack.push_back(Enter(std::move(top), 0));
    for (;;) {
        Level& level = stack.back();
        if (level.next == level.entries.size()) {
            if (stack.size() == 1) break;
            RemoveEmptiedFolder(level.folder, removal, counter.LeftSoFar() == level.leftBefore);
            stack.pop_back();
            continue;
        }
        const ChildEntry& entry = level.entries[level.next++];
        std::optional<HeldEntry> child = HoldChild(level.folder, entry, removal);
        if (!child) continue;
        switch (StepFor(*child, removal)) {
        case WalkStep::TakeFile:
            RemoveHeldFile(std::move(*child), removal);
            break;
        case WalkStep::EnterFolder:
            stack.push_back(Enter(std::move(*child), counter.LeftSoFar()));  // `level` is not used past this point
            break;
        case WalkStep::Stays:
            break;
        }
    }
    top = std::move(stack.front().folder);
    return counter.LeftSoFar() > 0;
}

// The held form of a folder that a removal may enter: no link, behind none,
// not protected.
std::optional<HeldEntry> EnterableFolder(const std::wstring& spelling, const RemovalContext& removal) {
    std::optional<CanonicalItem> item = CanonicalItemPath(spelling);
    if (!item || !item->IsFolder()) return std::nullopt;
    if ((item->attributes & FILE_ATTRIBUTE_REPARSE_POINT) || item->viaReparse) {
        removal.report.Left(item->path, LeftReason::Link);
        return std::nullopt;
    }
    if (IsProtectedCanonical(item->path, removal.guards.protectedFolders)) {
        removal.report.Left(item->path, LeftReason::Protected);
        return std::nullopt;
    }
    return HoldItem(*item, removal);
}

}  // namespace

WalkStep StepFor(const HeldEntry& child, const RemovalContext& removal) {
    if (removal.guards.excluded.Covers(child.path)) {
        removal.report.Left(child.path, LeftReason::Excluded);
        return WalkStep::Stays;
    }
    if (!child.facts.IsFolder()) return WalkStep::TakeFile;
    if (IsProtectedCanonical(child.path, removal.guards.protectedFolders)) {
        removal.report.Left(child.path, LeftReason::Protected);
        return WalkStep::Stays;
    }
    return WalkStep::EnterFolder;
}

bool RemoveEmptiedFolder(const HeldEntry& folder, const RemovalContext& removal, bool tellWhyNot) {
    if (IsKeptFolder(folder.path, removal.guards)) return false;
    if (!ClearReadOnlyThroughHandle(folder.handle.Get(), folder.facts.attributes)) {
        if (tellWhyNot) removal.report.Left(folder.path, LeftReason::AccessDenied);
        return false;
    }
    if (RemoveThroughHandle(folder.handle.Get())) {
        removal.report.Removing(folder.path);
        return true;
    }
    const DWORD error = ::GetLastError();
    if (folder.facts.attributes & FILE_ATTRIBUTE_READONLY) RestoreAttributes(folder.handle.Get(), folder.facts.attributes);
    if (tellWhyNot) removal.report.Left(folder.path, FolderRemovalFailure(error));
    return false;
}

bool RemoveHeldFile(HeldEntry file, const RemovalContext& removal) {
    const DWORD attributes = file.facts.attributes;
    if (!ClearReadOnlyThroughHandle(file.handle.Get(), attributes)) {
        removal.report.Left(file.path, LeftReason::AccessDenied);
        return false;
    }
    // Sized through its handle: a query by path costs a walk of the path under Wine.
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.handle.Get(), &size))
        removal.report.RemovingMeasured(file.path, 1, static_cast<ULONGLONG>(size.QuadPart));
    else
        removal.report.Removing(file.path);
    if (RemoveThroughHandle(file.handle.Get())) return true;
    const DWORD error = ::GetLastError();
    if (attributes & FILE_ATTRIBUTE_READONLY) RestoreAttributes(file.handle.Get(), attributes);
    removal.report.Left(file.path, error == ERROR_ACCESS_DENIED ? LeftReason::AccessDenied : LeftReason::Failed);
    return false;
}

void RemoveHeldContents(HeldEntry& folder, const RemovalContext& removal) { WalkAndRemove(folder, removal); }

bool RemoveHeldTree(HeldEntry folder, const RemovalContext& removal) {
    const bool somethingStays = WalkAndRemove(folder, removal);
    return RemoveEmptiedFolder(folder, removal, !somethingStays);
}

bool RemoveFolderContents(const std::wstring& folder, const RemovalContext& removal) {
    // The row's folder may itself be a link: its target is no part of the item.
    if (std::optional<HeldEntry> held = EnterableFolder(folder, removal)) WalkAndRemove(*held, removal);
    return true;
}

bool RemoveFolderTree(const std::wstring& folder, const RemovalContext& removal) {
    std::optional<HeldEntry> held = EnterableFolder(folder, removal);
    return held && RemoveHeldTree(std::move(*held), removal);
}
