#include "clean/Recycle.h"

#include <memory>

#include "item/Guards.h"
#include "clean/RecycleBin.h"
#include "win/Path.h"

namespace {

const IRecycleBins& BinsOf(const RemovalContext& removal) {
    return removal.bins ? *removal.bins : MachineRecycleBins();
}

// What a held folder's entry takes to the bin: a file as listed, a folder
// by the link test's walk. Nothing when it stays, told why.
std::optional<EntryAmount> AmountToRecycle(const HeldEntry& child, const ChildEntry& listed,
                                           const RemovalContext& removal) {
    if (!child.facts.IsFolder()) return EntryAmount{1, listed.size};
    if (IsKeptFolder(child.path, removal.guards)) {
        removal.report.Left(child.path, LeftReason::Protected);
        return std::nullopt;
    }
    EntryAmount amount;
    if (HeldTreeHoldsLink(child, &amount)) {
        removal.report.Left(child.path, LeftReason::Link);
        return std::nullopt;
    }
    return amount;
}

}  // namespace

bool RecycleHeld(HeldEntry item, const RemovalContext& removal, const EntryAmount& amount) {
    LeftReason whyNot = LeftReason::Failed;
    std::optional<HeldEntry> folder = HoldFolderAt(ParentOf(item.path), &whyNot);
    if (!folder) {
        removal.report.Left(item.path, whyNot);
        return false;
    }
    std::unique_ptr<IRecycleBin> bin = BinsOf(removal).For(*folder);
    if (!bin) {
        removal.report.Left(item.path, LeftReason::RecycleRefused);
        return false;
    }
    return bin->Take(std::move(item), *folder, amount, removal);
}

bool RecycleHeldContents(const HeldEntry& folder, const RemovalContext& removal) {
    std::unique_ptr<IRecycleBin> bin;
    bool allWent = true;
    for (const ChildEntry& entry : ListChildren(folder.handle.Get())) {
        std::optional<HeldEntry> child = HoldChild(folder, entry, removal);
        if (!child) continue;
        std::optional<EntryAmount> amount = AmountToRecycle(*child, entry, removal);
        if (!amount) {
            allWent = false;
        } else if (removal.guards.excluded.Covers(child->path)) {
            removal.report.Left(child->path, LeftReason::Excluded);
            allWent = false;
        } else if (child->facts.IsFolder() && removal.guards.excluded.HoldsExcluded(child->path)) {
            RecycleHeldContents(*child, removal);  // around what a policy keeps
            allWent = false;
        } else {
            if (!bin) bin = BinsOf(removal).For(folder);
            if (!bin) {
                removal.report.Left(child->path, LeftReason::RecycleRefused);
                allWent = false;
            } else if (!bin->Take(std::move(*child), folder, *amount, removal)) {
                allWent = false;
            }
        }
    }
    return allWent;
}
