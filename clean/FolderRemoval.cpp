#include "clean/FolderRemoval.h"

#include <windows.h>

#include <vector>

#include "clean/DeleteItem.h"
#include "clean/ItemPath.h"
#include "clean/Links.h"
#include "win/Handle.h"
#include "win/Path.h"

namespace {

bool IsFolderEntry(const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// The entries of a folder, read before any of them is removed, so that the
// search never runs over a folder that changes under it.
std::vector<WIN32_FIND_DATAW> ReadEntries(const std::wstring& folder) {
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW find;
    win::FindHandle search(::FindFirstFileW(ApiPath(JoinPath(folder, L"*.*")).c_str(), &find));
    if (!search) return entries;
    do {
        if (!IsDotEntry(find.cFileName)) entries.push_back(find);
    } while (::FindNextFileW(search.Get(), &find));
    return entries;
}

// True when the file may be removed: not read-only (cleared here, as the scan
// does) and not held by another process.
bool IsFileFree(const std::wstring& path, DWORD attributes) {
    ClearReadOnly(ApiPath(path), attributes);
    return !IsFileLocked(ApiPath(path));
}

void RemoveFile(const std::wstring& path, DWORD attributes) {
    if (!IsFileFree(path, attributes)) return;
    ShowDeletingStatus(path);
    ::DeleteFileW(ApiPath(path).c_str());
}

bool RemoveEmptyFolder(const std::wstring& path, DWORD attributes, const RemovalGuards& guards) {
    if (guards.protectedFolders.ContainsCanonical(path) || guards.systemFolders.ContainsCanonical(path)) return false;
    ClearReadOnly(ApiPath(path), attributes);
    return ::RemoveDirectoryW(ApiPath(path).c_str()) != FALSE;
}

// Everything below the canonical `folder` that is no link and lies behind none.
void RemoveEntries(const std::wstring& folder, const RemovalGuards& guards) {
    if (guards.protectedFolders.ContainsCanonical(folder)) return;
    std::wstring folderFinal = FinalPathOf(folder);
    if (folderFinal.empty()) return;
    for (const WIN32_FIND_DATAW& entry : ReadEntries(folder)) {
        if (IsLinkEntry(folder, folderFinal, entry)) continue;  // neither entered nor removed
        std::wstring path = JoinPath(folder, entry.cFileName);
        if (IsFolderEntry(entry)) {
            RemoveEntries(path, guards);
            if (RemoveEmptyFolder(path, entry.dwFileAttributes, guards)) ShowDeletingStatus(path);
        } else {
            RemoveFile(path, entry.dwFileAttributes);
        }
    }
}

// The canonical form of a folder that a removal may enter: no link, behind
// none, not protected.
std::optional<CanonicalItem> EnterableFolder(const std::wstring& spelling, const RemovalGuards& guards) {
    std::optional<CanonicalItem> folder = CanonicalItemPath(spelling);
    if (!folder || !folder->IsFolder() || IsLinkOrBehindLink(*folder) ||
        IsProtectedFolder(folder->path, guards.protectedFolders))
        return std::nullopt;
    return folder;
}

}  // namespace

bool RemoveFolderContents(const std::wstring& folder, const RemovalGuards& guards) {
    // The row's folder may itself be a link: its target is no part of the item.
    if (std::optional<CanonicalItem> item = EnterableFolder(folder, guards)) RemoveEntries(item->path, guards);
    return true;
}

bool RemoveFolderTree(const std::wstring& folder, const RemovalGuards& guards) {
    std::optional<CanonicalItem> item = EnterableFolder(folder, guards);
    if (!item) return false;
    RemoveEntries(item->path, guards);
    return RemoveEmptyFolder(item->path, item->attributes, guards);
}

bool RecycleFolderContents(const std::wstring& folder, const RemovalGuards& guards) {
    std::wstring folderFinal = FinalPathOf(folder);
    if (folderFinal.empty()) return false;
    std::vector<std::wstring> sources;
    for (const WIN32_FIND_DATAW& entry : ReadEntries(folder)) {
        if (IsLinkEntry(folder, folderFinal, entry)) continue;
        std::wstring path = JoinPath(folder, entry.cFileName);
        bool movable = IsFolderEntry(entry)
                           ? !guards.protectedFolders.ContainsCanonical(path) &&
                                 !guards.systemFolders.ContainsCanonical(path) && !TreeHoldsLink(path)
                           : IsFileFree(path, entry.dwFileAttributes);
        if (movable) sources.push_back(path);
    }
    return sources.empty() || ShellDeleteList(sources, false);
}
