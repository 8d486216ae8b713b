#pragma once
// The folders that no scan may list and no clean may remove, whatever a
// catalogue entry or the environment hands in (TMP set to "C:\", a profile
// variable pointing at the Windows folder, ...). Pure rules over path text:
// no window, no file system beyond the path-text normalisation of the platform.
#include <windows.h>
#include <string>
#include <vector>

class ISystemInfo;

struct ProtectedFolders {
    std::vector<std::wstring> paths;  // normalised with NormaliseFolderPath
    void Add(const std::wstring& path);
};

// The full, absolute form of `path` without a trailing backslash (a drive
// root keeps its "X:\"), ".." and "." resolved, "/" turned into "\", and the
// "\\?\" prefix removed. Empty for an empty path.
std::wstring NormaliseFolderPath(const std::wstring& path);

// True for "X:\" and "\\server\share" in any spelling.
bool IsVolumeRoot(const std::wstring& normalisedPath);

// True when `path` is a volume root or, in any letter case or spelling, one
// of `folders`. An empty path counts as protected: it names nothing safe.
bool IsProtectedFolder(const std::wstring& path, const ProtectedFolders& folders);

// The Windows folder, System32, Program Files, the profile roots and the
// user's shell folders (Desktop, Documents, Music, Pictures, Videos,
// Downloads, AppData with Roaming and Local) of a machine.
ProtectedFolders CollectProtectedFolders(const ISystemInfo& system);

// The protected folders of this machine, gathered once.
const ProtectedFolders& MachineProtectedFolders();
// IsProtectedFolder against this machine, also under the long form of a short (8.3) name.
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
