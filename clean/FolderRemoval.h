#pragma once
// The program's own removal of what a folder holds, through handles: each
// folder is opened once, listed through its handle, and every entry is
// opened relative to it, judged and removed through its own handle. It never
// follows a link: links stay, and so do files in use and the folders that
// still hold either. Protected folders are never entered, system folders
// never removed.
#include <string>

#include "clean/HeldEntry.h"
#include "clean/RemovalReport.h"

// Removes what it can below `folder` (any spelling); the folder itself
// stays. Always true.
bool RemoveFolderContents(const std::wstring& folder, const RemovalContext& removal = MachineRemoval());

// RemoveFolderContents, then the folder itself when nothing is left in it
// and it is no system folder. True when the folder is gone.
bool RemoveFolderTree(const std::wstring& folder, const RemovalContext& removal = MachineRemoval());

// The same two for a folder already held.
void RemoveHeldContents(HeldEntry& folder, const RemovalContext& removal);
bool RemoveHeldTree(HeldEntry folder, const RemovalContext& removal);

// Removes one held file for good, clearing its read-only attribute first
// (and giving it back when the removal fails).
bool RemoveHeldFile(HeldEntry file, const RemovalContext& removal);
