#pragma once
// Path text shared by every layer: the one join, the one parent-of, what
// counts as a full path, the dot entries of a search and the read-only
// attribute of a found entry.
#include <windows.h>
#include <string>

// Joins a base folder and a relative part with one backslash, except after a
// drive root of exactly three characters ("C:\"), where the two are simply
// concatenated. An empty base gives a path from the root of the current drive.
std::wstring JoinPath(const std::wstring& base, const std::wstring& relative);

// The folder that holds `path`: "C:\a" for "C:\a\b", "C:\" for "C:\a"; empty
// for a path without a backslash or for a drive root.
std::wstring ParentOf(const std::wstring& path);

// The folder of the running program's file, where its "lang" and "rules" folders stand.
std::wstring ProgramFolder();

// `path` without a "\\?\" or "\??\" prefix; "\\?\UNC\server" becomes "\\server".
std::wstring WithoutLongPrefix(const std::wstring& path);
// True for "X:\..." and "\\server\share..." paths, the only ones walked or
// looked at: anything else ("null", "\Users\Default", "") would resolve
// against whatever directory or drive happens to be current.
bool IsFullPath(const std::wstring& path);
// A full path that names an existing file or folder.
bool FullPathExists(const std::wstring& path);

// "." and "..", the two entries every search of a folder but a drive root starts with.
bool IsDotEntry(const wchar_t* name);

// Clears the read-only attribute of an entry whose attributes a search
// reported, keeping all others. A link is left alone: changing it could
// change the file it points to.
void ClearReadOnly(const std::wstring& path, DWORD attributes);
