#pragma once
// An entry opened for removal and checked on its handle: no link, behind
// none, at the place the removal believes. The handle is held from the check
// to the removal, so nothing swapped in under the same name meanwhile can be
// removed instead.
#include <optional>
#include <string>

#include "clean/EntryHandle.h"
#include "item/ItemPath.h"
#include "clean/RemovalReport.h"

// Files and their bytes: what a removal takes.
struct EntryAmount {
    size_t files = 0;
    ULONGLONG bytes = 0;
};

struct HeldEntry {
    win::FileHandle handle;
    std::wstring path;   // canonical, as reports name it
    std::wstring final;  // as the platform names the open entry
    EntryFacts facts;
};

// Opens a canonical, existing item and checks it: its handle must show no
// link and the item's own path. Tells the report why it stays otherwise.
std::optional<HeldEntry> HoldItem(const CanonicalItem& item, const RemovalContext& removal);

// Opens the entry `name` of a held folder relative to its handle and checks
// it the same way. An entry gone meanwhile is told nothing: it needs no
// removal.
std::optional<HeldEntry> HoldChild(const HeldEntry& folder, const ChildEntry& listed, const RemovalContext& removal);

// What a look at a listed entry of a held folder finds: opened relative to
// the folder with no more access than reading its attributes (and listing,
// for a folder), checked as HoldChild checks, so that nothing of it can
// change. A folder comes back held, to be listed in turn.
enum class ChildKind { Gone, Link, File, Folder, Unreadable };
struct LookedChild {
    ChildKind kind = ChildKind::Gone;
    std::optional<HeldEntry> folder;
};
LookedChild LookAtChild(const HeldEntry& folder, const ChildEntry& listed);

// The held folder of a canonical folder path, for an operation that needs a
// folder handle (the parent of a moved item); no report, but with `whyNot`
// the reason it cannot be held.
std::optional<HeldEntry> HoldFolderAt(const std::wstring& canonicalPath, LeftReason* whyNot = nullptr);

// True when a link lies anywhere in the tree below the held folder, or when
// some part of it cannot be opened to tell.
// With `amount`, the files of the tree and their bytes are added up on the way.
bool HeldTreeHoldsLink(const HeldEntry& folder, EntryAmount* amount = nullptr);

// True when a link lies anywhere in the tree below the canonical `folder`,
// or when the folder cannot be opened to tell.
bool TreeHoldsLink(const std::wstring& folder);

// A folder that a removal keeps whatever it holds: protected or system.
bool IsKeptFolder(const std::wstring& canonicalPath, const RemovalGuards& guards);

LeftReason ReasonOf(OpenFailure failure);
