#include "clean/FolderRemoval.h"

#include <windows.h>

#include <vector>

#include "clean/DeleteItem.h"
#include "clean/Guards.h"
#include "clean/Links.h"
#include "win/Handle.h"

namespace {

// The entries of a folder, read before any of them is removed, so that the
// search never runs over a folder that changes under it.
std::vector<WIN32_FIND_DATAW> ReadEntries(const std::wstring& folder) {
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW find;
    win::FindHandle search(::FindFirstFileW((folder + L"\\*.*").c_str(), &find));
    if (!search) return entries;
    do {
        if (!IsDotEntry(find.cFileName)) entries.push_back(find);
    } while (::FindNextFileW(search.Get(), &find));
    return entries;
}

void RemoveFile(const std::wstring& path, DWORD attributes) {
    ClearReadOnly(path, attributes);
    if (IsFileInUse(path)) return;
    ShowDeletingStatus(path);
    ::DeleteFileW(path.c_str());
}

bool RemoveEmptyFolder(const std::wstring& path, DWORD attributes) {
    if (IsProtectedOnThisMachine(path)) return false;
    ClearReadOnly(path, attributes);
    return ::RemoveDirectoryW(path.c_str()) != FALSE;
}

void RemoveEntries(const std::wstring& folder) {
    if (IsProtectedOnThisMachine(folder)) return;
    std::wstring folderFinal = FinalPathOf(folder);
    if (folderFinal.empty()) return;
    for (const WIN32_FIND_DATAW& entry : ReadEntries(folder)) {
        if (IsLinkEntry(folder, folderFinal, entry)) continue;  // neither entered nor removed
        std::wstring path = folder + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveEntries(path);
            if (RemoveEmptyFolder(path, entry.dwFileAttributes)) ShowDeletingStatus(path);
        } else {
            RemoveFile(path, entry.dwFileAttributes);
        }
    }
}

}  // namespace

bool RemoveFolderContents(const std::wstring& folder) {
    // The row's folder may itself be a link: its target is no part of the item.
    if (!IsLinkPath(folder)) RemoveEntries(folder);
    return true;
}

bool RemoveFolderTree(const std::wstring& folder) {
    if (IsProtectedOnThisMachine(folder) || IsLinkPath(folder)) return false;
    RemoveEntries(folder);
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    return RemoveEmptyFolder(folder, attributes);
}
