#pragma once
// The path rules shared by every layer: the one join, the one parent-of,
// what counts as a full path and as a folder, the long-path prefix, the dot
// entries of a search and the read-only attribute of a found entry. The
// canonical form of an item, which asks the file system, is clean/ItemPath.
#include <windows.h>
#include <string>
#include <vector>

// Joins a base folder and a relative part with one backslash, except after a
// drive root of exactly three characters ("C:\"), where the two are simply
// concatenated. An empty base gives a path from the root of the current drive.
std::wstring JoinPath(const std::wstring& base, const std::wstring& relative);

// The platform's full form of `path`, taken against the current folder
// (and the current folder of a drive it names); `path` itself when the
// platform gives none.
std::wstring CurrentFullPath(const std::wstring& path);

// The steps of a path between its backslashes, empty ones left out.
std::vector<std::wstring> PathSteps(const std::wstring& path);

// The folder that holds `path`: "C:\a" for "C:\a\b", "C:\" for "C:\a"; empty
// for a path without a backslash or for a drive root.
std::wstring ParentOf(const std::wstring& path);

// The folder of the running program's file, where its "lang" and "rules" folders stand.
std::wstring ProgramFolder();

// True for the attributes of a folder (of a found entry or a file record).
inline bool IsFolderAttributes(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
inline bool IsFolderEntry(const WIN32_FIND_DATAW& entry) { return IsFolderAttributes(entry.dwFileAttributes); }

// The spelling the file-system calls take for a canonical path: with the
// "\\?\" prefix when it is too long for the plain form.
std::wstring ApiPath(const std::wstring& canonicalPath);

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
