#include "clean/FolderMeasure.h"

#include <vector>

#include "clean/HeldEntry.h"
#include "item/ItemPath.h"
#include "policy/PolicyGuards.h"
#include "win/Path.h"

namespace {

// A folder on the walk's stack, held while its entries are counted.
struct Level {
    HeldEntry folder;
    std::vector<ChildEntry> entries;
    size_t next = 0;
};

Level Enter(HeldEntry folder) {
    std::vector<ChildEntry> entries = ListChildren(folder.handle.Get());
    return Level{std::move(folder), std::move(entries), 0};
}

// The held top folder, when a clean would enter it.
std::optional<HeldEntry> TopToMeasure(const std::wstring& spelling, const RemovalGuards& guards) {
    std::optional<CanonicalItem> item = CanonicalItemPath(spelling);
    if (!item || !item->IsFolder() || (item->attributes & FILE_ATTRIBUTE_REPARSE_POINT) || item->viaReparse)
        return std::nullopt;
    if (IsProtectedCanonical(item->path, guards.protectedFolders) || guards.excluded.Covers(item->path))
        return std::nullopt;
    return HoldFolderAt(item->path);
}

bool IsFolder(const ChildEntry& entry) { return (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

}  // namespace

std::optional<FolderContents> MeasureFolder(const std::wstring& folder, const RemovalGuards& guards,
                                            const std::atomic<bool>* stop) {
    FolderContents contents;
    std::optional<HeldEntry> top = TopToMeasure(folder, guards);
    if (!top) return contents;
    // Depth first with a stack of its own (a tree may be thousands deep);
    // only the folders on the way down are held.
    std::vector<Level> stack;
    stack.push_back(Enter(std::move(*top)));
    while (!stack.empty()) {
        if (stop && *stop) return std::nullopt;
        Level& level = stack.back();
        if (level.next == level.entries.size()) {
            stack.pop_back();
            continue;
        }
        const ChildEntry& entry = level.entries[level.next++];
        const std::wstring path = JoinPath(level.folder.path, entry.name);
        if (guards.excluded.Covers(path)) continue;
        if (IsFolder(entry) && IsProtectedCanonical(path, guards.protectedFolders)) continue;
        LookedChild looked = LookAtChild(level.folder, entry);
        if (looked.kind == ChildKind::Gone) continue;
        ++contents.items;
        // A file that cannot be looked at still holds what its folder lists;
        // a link, of either kind, holds nothing of its own.
        if (looked.kind == ChildKind::File || (looked.kind == ChildKind::Unreadable && !IsFolder(entry)))
            contents.bytes += entry.size;
        if (looked.folder) stack.push_back(Enter(std::move(*looked.folder)));  // `level` is not used past this point
    }
    return contents;
}

void MeasureFolderRows(FoundItems& items) {
    const RemovalGuards guards = GuardsUnderPolicy();
    for (FoundItems::Id id : items.UnmeasuredFolders())
        if (std::optional<FolderContents> contents = MeasureFolder(items.ById(id).path, guards))
            items.SetContents(id, *contents);
}
