#pragma once
// Removal of one found item, permanently or to the Recycle Bin, with the
// wipe of cache index files and the test whether a file is in use.
#include <windows.h>
#include <string>
#include <vector>

#include "clean/RemovalReport.h"

// Removes the file or folder at `path`, in any spelling: every decision is
// taken on its canonical form. Links, items behind links, protected folders,
// spellings that cannot be resolved and missing paths (other than
// "index.dat") are left alone and give false. A folder is removed
// permanently by the program's own walk, which never follows a link; it goes
// to the Recycle Bin through the shell only when its tree holds no link. A
// system folder (TMP, the Windows Temp, ...) is emptied the same ways and
// kept. True when the removal reported success; every item or entry that
// stays is told to the report with its reason, every one handed over for
// removal before that.
bool DeleteFoundItem(const std::wstring& path, bool permanent);
bool DeleteFoundItem(const std::wstring& path, bool permanent, const RemovalContext& removal);

// Overwrites everything after the first 64 bytes (the header) with zeros;
// false when the file cannot be opened for writing.
bool WipeIndexFile(const std::wstring& path);
// The sizes of the zero writes that wipe a file of `size` bytes, in order.
std::vector<DWORD> WipeChunks(ULONGLONG size);

// True when the file cannot be opened for reading with no sharing (held by
// another process, missing, a folder) or its path has 260 characters or
// more. It asks for no write access: a read-only file nobody holds is free,
// and looking changes nothing.
bool IsFileInUse(const std::wstring& path);
// The same test for a path of any length (with the "\\?\" prefix where needed).
bool IsFileLocked(const std::wstring& apiPath);

// The shell's delete request, without confirmation or error dialog, for one
// canonical path or a list of them in one operation. A path beyond the plain
// length goes in its short form, or is left out when it has none that fits.
bool ShellDelete(const std::wstring& path, bool permanent);
// The spelling of a canonical path that the shell takes: itself, or for a
// path beyond the plain length its short (8.3) form where that fits; empty
// when there is none.
std::wstring ShellSpelling(const std::wstring& path);
bool ShellDeleteList(const std::vector<std::wstring>& paths, bool permanent);
