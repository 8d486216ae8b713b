#pragma once
// The program's own permanent removal of a folder tree. It never follows a
// link: links stay, and so do files in use and the folders that still hold
// either. Protected folders are never entered.
#include <string>

// Removes what it can below `folder` (a full path without a trailing
// backslash); the folder itself stays. Always true.
bool RemoveFolderContents(const std::wstring& folder);

// RemoveFolderContents, then the folder itself when nothing is left in it.
// True when the folder is gone.
bool RemoveFolderTree(const std::wstring& folder);
