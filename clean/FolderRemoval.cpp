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

void RemoveFile(const std::wstring& path, DWORD attributes, const RemovalContext& removal) {
    if (!IsFileFree(path, attributes)) return removal.report.Left(path, LeftReason::InUse);
    removal.report.Removing(path);
    if (!::DeleteFileW(ApiPath(path).c_str())) removal.report.Left(path, LeftReason::Failed);
}

bool IsKeptFolder(const std::wstring& path, const RemovalGuards& guards) {
    return guards.protectedFolders.ContainsCanonical(path) || guards.systemFolders.ContainsCanonical(path);
}

bool RemoveEmptyFolder(const std::wstring& path, DWORD attributes, const RemovalContext& removal) {
    if (IsKeptFolder(path, removal.guards)) return false;
    ClearReadOnly(ApiPath(path), attributes);
    return ::RemoveDirectoryW(ApiPath(path).c_str()) != FALSE;
}

// Everything below the canonical `folder` that is no link and lies behind none.
void RemoveEntries(const std::wstring& folder, const RemovalContext& removal) {
    if (removal.guards.protectedFolders.ContainsCanonical(folder))
        return removal.report.Left(folder, LeftReason::Protected);
    std::wstring folderFinal = FinalPathOf(folder);
    if (folderFinal.empty()) return removal.report.Left(folder, LeftReason::Link);
    for (const WIN32_FIND_DATAW& entry : ReadEntries(folder)) {
        std::wstring path = JoinPath(folder, entry.cFileName);
        if (IsLinkEntry(folder, folderFinal, entry)) {  // neither entered nor removed
            removal.report.Left(path, LeftReason::Link);
        } else if (removal.guards.excluded.Covers(path)) {
            removal.report.Left(path, LeftReason::Excluded);
        } else if (IsFolderEntry(entry)) {
            RemoveEntries(path, removal);
            if (RemoveEmptyFolder(path, entry.dwFileAttributes, removal)) removal.report.Removing(path);
        } else {
            RemoveFile(path, entry.dwFileAttributes, removal);
        }
    }
}

// The canonical form of a folder that a removal may enter: no link, behind
// none, not protected.
std::optional<CanonicalItem> EnterableFolder(const std::wstring& spelling, const RemovalContext& removal) {
    std::optional<CanonicalItem> folder = CanonicalItemPath(spelling);
    if (!folder || !folder->IsFolder()) return std::nullopt;
    if (IsLinkOrBehindLink(*folder)) {
        removal.report.Left(folder->path, LeftReason::Link);
        return std::nullopt;
    }
    if (IsProtectedCanonical(folder->path, removal.guards.protectedFolders)) {
        removal.report.Left(folder->path, LeftReason::Protected);
        return std::nullopt;
    }
    return folder;
}

}  // namespace

bool RemoveFolderContents(const std::wstring& folder, const RemovalContext& removal) {
    // The row's folder may itself be a link: its target is no part of the item.
    if (std::optional<CanonicalItem> item = EnterableFolder(folder, removal)) RemoveEntries(item->path, removal);
    return true;
}

bool RemoveFolderTree(const std::wstring& folder, const RemovalContext& removal) {
    std::optional<CanonicalItem> item = EnterableFolder(folder, removal);
    if (!item) return false;
    RemoveEntries(item->path, removal);
    return RemoveEmptyFolder(item->path, item->attributes, removal);
}

bool RecycleFolderContents(const std::wstring& folder, const RemovalContext& removal) {
    std::wstring folderFinal = FinalPathOf(folder);
    if (folderFinal.empty()) return false;
    std::vector<std::wstring> sources;
    for (const WIN32_FIND_DATAW& entry : ReadEntries(folder)) {
        std::wstring path = JoinPath(folder, entry.cFileName);
        if (IsLinkEntry(folder, folderFinal, entry)) {
            removal.report.Left(path, LeftReason::Link);
        } else if (removal.guards.excluded.Covers(path)) {
            removal.report.Left(path, LeftReason::Excluded);
        } else if (!IsFolderEntry(entry)) {
            if (IsFileFree(path, entry.dwFileAttributes)) sources.push_back(path);
            else removal.report.Left(path, LeftReason::InUse);
        } else if (IsKeptFolder(path, removal.guards)) {
            removal.report.Left(path, LeftReason::Protected);
        } else if (TreeHoldsLink(path)) {
            removal.report.Left(path, LeftReason::Link);
        } else if (removal.guards.excluded.HoldsExcluded(path)) {
            RecycleFolderContents(path, removal);  // around what a policy keeps
        } else {
            sources.push_back(path);
        }
    }
    for (const std::wstring& path : sources) removal.report.Removing(path);
    return sources.empty() || ShellDeleteList(sources, false);
}
