#pragma once
// The program's own removal of what a folder holds. It never follows a link:
// links stay, and so do files in use and the folders that still hold either.
// Protected folders are never entered, system folders never removed.
#include <string>

#include "clean/RemovalReport.h"

// Removes what it can below `folder` (any spelling); the folder itself
// stays. Always true.
bool RemoveFolderContents(const std::wstring& folder, const RemovalContext& removal = MachineRemoval());

// RemoveFolderContents, then the folder itself when nothing is left in it
// and it is no system folder. True when the folder is gone.
bool RemoveFolderTree(const std::wstring& folder, const RemovalContext& removal = MachineRemoval());

// Moves the link-free entries of the canonical `folder` to the Recycle Bin
// in one shell operation; entries that are links, hold one, are in use or
// are protected or system folders stay, and so does the folder. True when
// the shell reported success or there was nothing to move.
bool RecycleFolderContents(const std::wstring& folder, const RemovalContext& removal);
