#pragma once
// Moves to the Recycle Bin. The shell takes a path, not a handle, so an item
// is first made hard to swap: renamed through its checked handle to a fresh,
// unguessable name inside its held folder, checked there, and only then
// handed to the shell under that name. Afterwards the handle tells whether
// the shell moved this very item; if not, it gets its own name back and stays.
#include <vector>

#include "clean/HeldEntry.h"

// One held item, of `amount` files and bytes; its folder is held here by
// the item's canonical parent.
bool RecycleHeld(HeldEntry item, const RemovalContext& removal, const EntryAmount& amount);

// The link-free entries of a held folder in one shell operation; entries that
// are links, hold one, are in use or are kept folders stay, and so does the
// folder. True when the shell reported success or there was nothing to move.
bool RecycleHeldContents(const HeldEntry& folder, const RemovalContext& removal);

// The name an item takes for its move: a random part before its own name,
// so that the Recycle Bin still shows what it was; at most 255 characters.
std::wstring UnguessableName(const std::wstring& name);
// An unguessable 8.3 name, for where only a short name will do.
std::wstring UnguessableShortName();
