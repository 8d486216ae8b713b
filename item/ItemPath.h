#pragma once
// One form of a found item, whatever spelling reached the removal: every
// guard (link, protected folder, system folder) and every removal call takes
// its decision on this form, never on the spelling of the row.
#include <windows.h>
#include <optional>
#include <string>

#include "win/Path.h"

struct CanonicalItem {
    // Full path with backslashes only, each step's long name (the folders'
    // in the letter case the file system keeps; the item's own as spelled,
    // unless it may be a short name or a cache index), no "." or ".." steps,
    // no doubled and no trailing backslash (a drive root keeps its "X:\"),
    // no "\\?\" prefix.
    std::wstring path;
    bool exists = false;       // false: the last step is missing, its spelled name is kept
    DWORD attributes = 0;      // of the item's own directory entry, when it exists
    bool viaReparse = false;   // a folder on its way carries the reparse attribute

    bool IsFolder() const { return exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // The entry's own name, the last step of the path.
    std::wstring Name() const;
};

// The canonical form of `spelling`: any mix of trailing, doubled or forward
// slashes, "." and ".." steps, short (8.3) names, another letter case, the
// "\\?\" prefix and paths of any length. Nothing when the spelling cannot be
// resolved: not a full path, wildcards, a stream or a device name ("NUL",
// "con.txt"), or a folder on its way that is missing or is no folder. A
// missing last step still resolves (exists is false).
std::optional<CanonicalItem> CanonicalItemPath(const std::wstring& spelling);

// While one lives on a thread, CanonicalItemPath there keeps every folder
// it resolves, not only the last item's, and takes a later spelling through
// one of them from there: for a scan that resolves many paths below the same
// folders and tests each item for links on its own.
class CResolvedFoldersKept {
public:
    CResolvedFoldersKept();
    ~CResolvedFoldersKept();
    CResolvedFoldersKept(const CResolvedFoldersKept&) = delete;
    CResolvedFoldersKept& operator=(const CResolvedFoldersKept&) = delete;
};

// While a CResolvedFoldersKept lives on the thread: `spelling` leads to the
// folder its caller has just opened and found no link, whose final path
// `finalPath` gives every step in the file system's letter case. A later
// spelling through it is taken from there.
void KeepResolvedFolder(const std::wstring& spelling, const std::wstring& finalPath);

// True when `spelling` is a path the platform's final path of its item
// would read the same (letter case aside): a drive, then names joined by
// one backslash, none "." or "..", none ending in a dot or a blank, none
// that may be a short (8.3) name or a device name, no character a name
// cannot hold. Any other spelling needs resolving step by step.
bool IsPlainFullPath(const std::wstring& spelling);

// True for the names the platform keeps for devices ("NUL", "con.txt",
// "COM1"): a path ending in one names a device, not a file.
bool IsDeviceName(const std::wstring& name);
// True for an entry name that no plain path reaches: a device name, or one
// that ends in a dot or a blank, which the platform drops from a path. Such
// an entry can exist (made through the "\\?\" form) and is no link.
bool IsNameNoPathReaches(const std::wstring& name);

// The full, absolute form of `path` without a trailing backslash (a drive
// root keeps its "X:\"), ".." and "." resolved, "/" turned into "\", and the
// "\\?\" prefix removed. Empty for an empty path.
std::wstring NormaliseFolderPath(const std::wstring& path);

// One text for every spelling of the same item, to tell whether two rows
// name one item: the canonical path where a short (8.3) step may hide in the
// spelling, otherwise the full path with "." and ".." steps resolved and no
// trailing backslash; upper-cased.
std::wstring ItemKey(const std::wstring& spelling);

