#pragma once
// The folders of the system, of programs and of the user that no rule may
// reach, written down once. The removal guards take their trees from here
// (CollectProtectedFolders), so a folder that no rule may walk is one that
// no removal takes either; the rules scan takes all of it.
#include <string>
#include <vector>

#include "item/FolderSet.h"

class ISystemInfo;

struct CriticalFolders {
    // A rule walks nothing at or below them: the Windows folder's own system
    // folders (System32 with all it holds), and the keys of the system and
    // of its users.
    FolderSet ruleTrees;
    // Every folder directly inside them belongs to the system, to a program
    // or to a user's profile: a rule takes none of them. The folders of
    // programs and ProgramData, and each profile.
    FolderSet closed;
    // The folders that hold the profiles: every folder in them is closed.
    FolderSet profileHolders;
    // The user's own files (Documents, Music, Pictures, Videos, Desktop,
    // Downloads and their public counterparts): a folder below them is
    // never one whole item, only its matching files are.
    FolderSet userContent;

    void Merge(const CriticalFolders& other);
    // True when every folder directly inside the canonical `folder` is
    // closed to rules: a drive root, a closed folder, a profile.
    bool IsClosed(const std::wstring& canonicalFolder) const;
};

// The critical folders of `system`.
CriticalFolders CollectCriticalFolders(const ISystemInfo& system);

// Adds the trees that no removal takes a folder from (the rule trees but
// System32 itself, in which the catalogue names its own logs and caches),
// the folders of a profile that nothing takes whole (the one that holds the
// classes' registry hive), and the Windows folder as a fence open only in
// its folders of throw-away files (WindowsJunkFolders).
void AddRemovalTrees(const ISystemInfo& system, FolderSet& folders);

// The folders of throw-away files in the Windows folder, relative to it:
// the only places there that a rule walks or a removal takes a folder from.
std::vector<std::wstring> WindowsJunkFolders();

// True for the name of a registry hive's file or of its logs (NTUSER.DAT,
// UsrClass.dat and their kin), which no rule lists anywhere.
bool IsHiveFileName(const std::wstring& name);

// The critical folders of this machine, gathered once; with the Downloads
// folders that only the shell's known-folder call names.
const CriticalFolders& MachineCriticalFolders();
