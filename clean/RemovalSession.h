#pragma once
// The permanent removal of many found items, one after another, as a clean
// runs through its rows. The rows of a clean mostly share their folders: the
// folder of the last file stays held, checked once, and each further file
// of it is opened relative to that handle, checked on its own handle (no
// link, at the place the folder's check promises) and removed through it.
// Anything else takes the whole way of DeleteFoundItem, with its reasons.
//
// Once many files of one folder have gone so, the folder is listed once and
// each further file asks its handle one thing only: the place the system
// keeps for it. Its kind and size come from the listing; the handle opens
// files only, so a folder swapped in since is never taken for one, and a
// file made read-only since refuses its removal and takes the whole way.
#include <optional>
#include <string>

#include "clean/HeldEntry.h"
#include "clean/ListedFiles.h"
#include "clean/RemovalReport.h"

class CRemovalSession {
public:
    // The files of one folder that go through their own handles' facts
    // before the folder is listed: a listing of a huge folder pays only for
    // a clean that takes many of its files.
    static constexpr size_t kListAfter = 64;
    explicit CRemovalSession(size_t listAfter = kListAfter) : m_listAfter(listAfter) {}

    // DeleteFoundItem(path, true, removal), in effect.
    bool RemovePermanently(const std::wstring& path, const RemovalContext& removal);

private:
    // The held folder for the spelling of an item's folder; nothing when it
    // cannot be held whole (behind a link, missing, no folder).
    const HeldEntry* FolderFor(const std::wstring& spelling);
    // Whether the file went (its removal told why not); nothing when the
    // item needs the whole way.
    std::optional<bool> RemoveFileOfHeldFolder(const std::wstring& name, const RemovalContext& removal);
    // The same through the folder's listing; nothing when the file is not
    // listed as a plain file or the listing is not due yet.
    std::optional<bool> RemoveListedFile(const std::wstring& name, const RemovalContext& removal);
    void ForgetFolder();

    const size_t m_listAfter;
    std::wstring m_spelling;  // of the held folder, as the rows spell it
    std::optional<HeldEntry> m_folder;
    size_t m_filesGone = 0;  // of the held folder, through their own handles
    std::optional<CListedFiles> m_listing;
    std::wstring m_folderObjectName;  // the held folder's, as the system keeps it
};

// True for a file name that the canonical form of a path keeps as it is
// spelled: no short (8.3) name may hide in it, it is no cache index, no
// device, no dot step and no name the platform would trim or refuse.
bool IsNameKeptAsSpelled(const std::wstring& name);
