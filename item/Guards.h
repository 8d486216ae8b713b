#pragma once
// The folders that no scan may list and no clean may remove, whatever a
// catalogue entry or the environment hands in (TMP set to "C:\", a profile
// variable pointing at the Windows folder, ...), and the folders that a clean
// empties but keeps. Rules over path text, taken on the canonical form of an
// existing path; no window.
#include <windows.h>
#include <string>
#include <vector>

#include "item/FolderSet.h"
#include "item/ItemPath.h"
#include "item/PathExclusions.h"

class ISystemInfo;

struct RemovalGuards {
    FolderSet protectedFolders;  // never listed, never removed, never entered by a removal
    FolderSet systemFolders;     // programs expect them to exist: emptied, never removed
    PathExclusions excluded;     // a policy keeps them: never removed, nor the folders that hold them
};

// True when `path` is a volume root or, in any letter case or spelling, one
// of `folders`. An empty path counts as protected: it names nothing safe.
bool IsProtectedFolder(const std::wstring& path, const FolderSet& folders);

// The same for a canonical path, by its text alone.
bool IsProtectedCanonical(const std::wstring& canonicalPath, const FolderSet& folders);

// The Windows folder, System32, Program Files, the profile roots and the
// user's shell folders (Desktop, Documents, Music, Pictures, Videos,
// Downloads, AppData with Roaming, Local and LocalLow) of a machine, and the
// system's critical trees (CriticalFolders.h) with all they hold.
FolderSet CollectProtectedFolders(const ISystemInfo& system);

// The folders the platform names through TMP and TEMP or a shell-folder
// identifier, and the Windows folder's Temp: History, Recent, Cookies,
// Temporary Internet Files and the like.
FolderSet CollectSystemFolders(const ISystemInfo& system);

// The guards of this machine, gathered once. Its system folders also hold
// every folder that an environment variable of this process names.
const RemovalGuards& MachineGuards();
// IsProtectedFolder against this machine.
bool IsProtectedOnThisMachine(const std::wstring& path);

// True when the final path that the platform reports for an opened entry is
// not the entry's own place (the final path of its folder, a backslash and
// its name): the entry is a link to somewhere else. Wine reports links to
// files as ordinary files and resolves them on every open, so this is the one
// way to see them there.
bool FinalPathShowsLink(const std::wstring& folderFinalPath, const std::wstring& name,
                        const std::wstring& entryFinalPath);
// True when two paths, either with the "\\?\" prefix, name the same place in any letter case.
bool SamePathText(const std::wstring& a, const std::wstring& b);
