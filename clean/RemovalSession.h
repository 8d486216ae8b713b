#pragma once
// The permanent removal of many found items, one after another, as a clean
// runs through its rows. The rows of a clean mostly share their folders: the
// folder of the last file stays held, checked once, and each further file
// of it is opened relative to that handle, checked on its own handle (no
// link, at the place the folder's check promises) and removed through it.
// Anything else takes the whole way of DeleteFoundItem, with its reasons.
#include <optional>
#include <string>

#include "clean/HeldEntry.h"
#include "clean/RemovalReport.h"

class CRemovalSession {
public:
    // DeleteFoundItem(path, true, removal), in effect.
    bool RemovePermanently(const std::wstring& path, const RemovalContext& removal);

private:
    // The held folder for the spelling of an item's folder; nothing when it
    // cannot be held whole (behind a link, missing, no folder).
    const HeldEntry* FolderFor(const std::wstring& spelling);
    // Whether the file went (its removal told why not); nothing when the
    // item needs the whole way.
    std::optional<bool> RemoveFileOfHeldFolder(const std::wstring& name, const RemovalContext& removal);

    std::wstring m_spelling;  // of the held folder, as the rows spell it
    std::optional<HeldEntry> m_folder;
};

// True for a file name that the canonical form of a path keeps as it is
// spelled: no short (8.3) name may hide in it, it is no cache index, no
// device, no dot step and no name the platform would trim or refuse.
bool IsNameKeptAsSpelled(const std::wstring& name);
