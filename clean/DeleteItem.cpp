#include "clean/DeleteItem.h"


#include "clean/EntryHandle.h"
#include "clean/FolderRemoval.h"
#include "item/Guards.h"
#include "item/ItemPath.h"
#include "item/Links.h"
#include "clean/Recycle.h"
#include "win/Handle.h"
#include "win/Path.h"

namespace {
constexpr DWORD kHeaderSize = 64;
constexpr DWORD kWipeBlock = 10000;

}  // namespace

namespace {

// Tells the report that `path` stays; false, the result of the removal.
bool Left(const RemovalContext& removal, const std::wstring& path, LeftReason reason) {
    removal.report.Left(path, reason);
    return false;
}

// Only the exact lower-case name is a cache index.
bool IsIndexFile(const CanonicalItem& item) { return item.Name() == L"index.dat"; }

// Zeros after the header, through an open handle. A file with more than one
// name is never written to: the zeros would land in every other name's file.
bool WipeOpenIndex(HANDLE file, const EntryFacts& facts) {
    if (facts.links != 1 || facts.IsFolder()) return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size)) return true;
    LARGE_INTEGER header{};
    header.QuadPart = kHeaderSize;
    if (!::SetFilePointerEx(file, header, nullptr, FILE_BEGIN)) return true;
    static const BYTE zeros[kWipeBlock] = {};
    for (DWORD chunk : WipeChunks(static_cast<ULONGLONG>(size.QuadPart))) {
        DWORD written = 0;
        if (!::WriteFile(file, zeros, chunk, &written, nullptr)) break;  // disk full: stop, the delete follows
    }
    return true;
}

bool DeleteHeldFolder(HeldEntry held, bool permanent, const RemovalContext& removal) {
    // Folders that programs expect to exist are emptied and kept.
    if (removal.guards.systemFolders.ContainsCanonical(held.path)) {
        if (!permanent) return RecycleHeldContents(held, removal);
        removal.report.Removing(held.path);
        RemoveHeldContents(held, removal);
        return true;
    }
    if (!permanent) {
        // The Recycle Bin move of a folder holding a link could reach the
        // link's target where the shell follows links (Wine's does).
        EntryAmount amount;
        if (HeldTreeHoldsLink(held, &amount)) return Left(removal, held.path, LeftReason::Link);
        if (removal.guards.excluded.HoldsExcluded(held.path)) {
            RecycleHeldContents(held, removal);
            return false;  // the folder stays around what a policy keeps
        }
        return RecycleHeld(std::move(held), removal, amount);
    }
    removal.report.Removing(held.path);
    return RemoveHeldTree(std::move(held), removal);
}

}  // namespace

bool DeleteFoundItem(const std::wstring& path, bool permanent) {
    return DeleteFoundItem(path, permanent, MachineRemoval());
}

bool DeleteFoundItem(const std::wstring& path, bool permanent, const RemovalContext& removal) {
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    if (!item) return Left(removal, path, LeftReason::Unresolvable);
    if (removal.guards.excluded.Covers(item->path)) return Left(removal, item->path, LeftReason::Excluded);
    // Gone since the scan, a cache index too: whatever stands under its name
    // by the time anything could act on it was never checked.
    if (!item->exists) return Left(removal, item->path, LeftReason::Missing);
    if (item->IsFolder() && IsProtectedCanonical(item->path, removal.guards.protectedFolders))
        return Left(removal, item->path, LeftReason::Protected);
    // A link, or what lies behind one, stays where it is.
    if ((item->attributes & FILE_ATTRIBUTE_REPARSE_POINT) || item->viaReparse)
        return Left(removal, item->path, LeftReason::Link);
    // From here on every decision and the removal itself go through one
    // handle, held from the check to the end.
    const bool index = IsIndexFile(*item) && !item->IsFolder();
    // The wipe comes first, through its own handle with the same checks: a
    // browser that holds the index without sharing its removal still lets
    // it be wiped.
    if (index) WipeIndexFile(item->path);
    std::optional<HeldEntry> held = HoldItem(*item, removal);
    if (!held) return false;
    if (held->facts.IsFolder()) return DeleteHeldFolder(std::move(*held), permanent, removal);
    if (permanent) return RemoveHeldFile(std::move(*held), removal);
    LARGE_INTEGER size{};
    ::GetFileSizeEx(held->handle.Get(), &size);
    return RecycleHeld(std::move(*held), removal, EntryAmount{1, static_cast<ULONGLONG>(size.QuadPart)});
}

std::vector<DWORD> WipeChunks(ULONGLONG size) {
    std::vector<DWORD> chunks;
    if (size <= kHeaderSize) return chunks;
    for (ULONGLONG left = size - kHeaderSize; left > 0;) {
        DWORD chunk = left > kWipeBlock ? kWipeBlock : static_cast<DWORD>(left);
        chunks.push_back(chunk);
        left -= chunk;
    }
    return chunks;
}

bool WipeIndexFile(const std::wstring& path) {
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    if (!item || !item->exists || item->viaReparse) return false;
    OpenedEntry opened = OpenEntryFromRoot(item->path, FILE_READ_ATTRIBUTES | FILE_WRITE_DATA | SYNCHRONIZE);
    EntryFacts facts;
    if (!opened || !ReadFacts(opened.handle.Get(), facts) || facts.IsReparsePoint()) return false;
    if (!SamePathText(FinalPathOfHandle(opened.handle.Get()), item->path)) return false;  // a link
    return WipeOpenIndex(opened.handle.Get(), facts);
}

