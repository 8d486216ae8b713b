#pragma once
// Removal of one found item, permanently or to the Recycle Bin, with the
// wipe of cache index files and the test whether a file is in use.
#include <windows.h>
#include <string>
#include <vector>

#include "clean/RemovalReport.h"

// Removes the file or folder at `path`, in any spelling: every decision is
// taken on its canonical form. Links, items behind links, protected folders,
// spellings that cannot be resolved and missing paths are left alone and
// give false. Every removal goes through the handle of the checked entry: a
// folder is removed permanently by the program's own walk, which never
// follows a link, and goes to the Recycle Bin only when its tree holds no
// link; an item the Recycle Bin refuses stays. A system folder (TMP, the
// Windows Temp, ...) is emptied the same ways and kept. True when the
// removal reported success; every item or entry that stays is told to the
// report with its reason.
bool DeleteFoundItem(const std::wstring& path, bool permanent);
bool DeleteFoundItem(const std::wstring& path, bool permanent, const RemovalContext& removal);

// Overwrites everything after the first 64 bytes (the header) with zeros;
// false when the file cannot be opened for writing.
bool WipeIndexFile(const std::wstring& path);
// The sizes of the zero writes that wipe a file of `size` bytes, in order.
std::vector<DWORD> WipeChunks(ULONGLONG size);
