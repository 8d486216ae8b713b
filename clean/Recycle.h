#pragma once
// Moves to the Recycle Bin of held items: the item's folder is held, the
// bin that takes its entries is chosen, and the item goes in as the very
// entry that was checked (clean/RecycleBin). Nothing is handed to anything
// by name, and nothing is ever deleted for good instead.
#include "clean/HeldEntry.h"

// One held item, of `amount` files and bytes; its folder is held here by
// the item's canonical parent.
bool RecycleHeld(HeldEntry item, const RemovalContext& removal, const EntryAmount& amount);

// The link-free entries of a held folder, each on its own; entries that are
// links, hold one, are in use or are kept folders stay, and so does the
// folder. True when every entry went or there was nothing to move.
bool RecycleHeldContents(const HeldEntry& folder, const RemovalContext& removal);
