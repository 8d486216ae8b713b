#include "clean/DeleteItem.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "clean/FolderRemoval.h"
#include "clean/Guards.h"
#include "clean/ItemPath.h"
#include "clean/Links.h"
#include "win/Handle.h"
#include "win/Path.h"

namespace {
constexpr DWORD kHeaderSize = 64;
constexpr DWORD kWipeBlock = 10000;

}  // namespace

namespace {

// The spelling of a canonical path that the shell takes: itself, or for a
// path beyond the plain length its short (8.3) form where that fits; empty
// when there is none.
std::wstring ShellSpelling(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    std::vector<wchar_t> buffer(path.size() + 8);
    DWORD n = ::GetShortPathNameW(ApiPath(path).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring shortPath = WithoutLongPrefix(std::wstring(buffer.data(), n < buffer.size() ? n : 0));
    return shortPath.size() < MAX_PATH ? shortPath : std::wstring();
}

}  // namespace

bool ShellDeleteList(const std::vector<std::wstring>& paths, bool permanent) {
    std::wstring from;
    for (const std::wstring& path : paths) {
        std::wstring spelling = ShellSpelling(path);
        if (!spelling.empty()) from.append(spelling).push_back(L'\0');
    }
    if (from.empty()) return paths.empty();
    from.push_back(L'\0');  // the source list ends with two NULs
    SHFILEOPSTRUCTW op{};
    op.hwnd = nullptr;
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = permanent ? (FOF_NOCONFIRMATION | FOF_NOERRORUI)
                          : (FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI);
    return ::SHFileOperationW(&op) == 0;
}

bool ShellDelete(const std::wstring& path, bool permanent) { return ShellDeleteList({path}, permanent); }

namespace {

// Tells the report that `path` stays; false, the result of the removal.
bool Left(const RemovalContext& removal, const std::wstring& path, LeftReason reason) {
    removal.report.Left(path, reason);
    return false;
}

// Only the exact lower-case name is a cache index.
bool IsIndexFile(const CanonicalItem& item) { return item.Name() == L"index.dat"; }

// A cache index that the search did not see is still wiped and handed to the
// shell, as long as its folder is no link.
bool DeleteMissingItem(const CanonicalItem& item, bool permanent, const RemovalContext& removal) {
    std::optional<CanonicalItem> folder = CanonicalItemPath(ParentOf(item.path));
    if (!IsIndexFile(item) || !folder || IsLinkOrBehindLink(*folder)) return Left(removal, item.path, LeftReason::Missing);
    WipeIndexFile(ApiPath(item.path));
    removal.report.Removing(item.path);
    return ShellDelete(item.path, permanent) || Left(removal, item.path, LeftReason::Missing);
}

// A file that goes for good needs nothing of the shell: it is opened once,
// told from a link through that handle, and removed through the same handle,
// so that what goes is exactly what was looked at, at any path length and at
// a fraction of the shell's cost.
bool DeleteFileForGood(const CanonicalItem& item, const RemovalContext& removal) {
    win::FileHandle file(::CreateFileW(ApiPath(item.path).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return Left(removal, item.path, LeftReason::Failed);
    std::wstring final = FinalPathOfHandle(file.Get());
    if (final.empty() || !SamePathText(final, item.path)) return Left(removal, item.path, LeftReason::Link);
    removal.report.Removing(item.path);
    FILE_DISPOSITION_INFO dispose{TRUE};
    return ::SetFileInformationByHandle(file.Get(), FileDispositionInfo, &dispose, sizeof(dispose)) ||
           Left(removal, item.path, LeftReason::Failed);
}

bool DeleteFolderItem(const CanonicalItem& item, bool permanent, const RemovalContext& removal) {
    // Folders that programs expect to exist are emptied and kept.
    if (removal.guards.systemFolders.ContainsCanonical(item.path)) {
        if (!permanent) return RecycleFolderContents(item.path, removal);
        RemoveFolderContents(item.path, removal);
        return true;
    }
    // The shell's removal of a tree follows links under Wine.
    if (permanent) return RemoveFolderTree(item.path, removal);
    if (TreeHoldsLink(item.path)) return Left(removal, item.path, LeftReason::Link);
    if (removal.guards.excluded.HoldsExcluded(item.path)) {
        RecycleFolderContents(item.path, removal);
        return false;  // the folder stays around what a policy keeps
    }
    return ShellDelete(item.path, false) || Left(removal, item.path, LeftReason::Failed);
}

}  // namespace

bool DeleteFoundItem(const std::wstring& path, bool permanent) {
    return DeleteFoundItem(path, permanent, MachineRemoval());
}

bool DeleteFoundItem(const std::wstring& path, bool permanent, const RemovalContext& removal) {
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    if (!item) return Left(removal, path, LeftReason::Unresolvable);
    if (removal.guards.excluded.Covers(item->path)) return Left(removal, item->path, LeftReason::Excluded);
    if (!item->exists) return DeleteMissingItem(*item, permanent, removal);
    if (item->IsFolder() && IsProtectedCanonical(item->path, removal.guards.protectedFolders))
        return Left(removal, item->path, LeftReason::Protected);
    // A link, or what lies behind one, stays where it is.
    if ((item->attributes & FILE_ATTRIBUTE_REPARSE_POINT) || item->viaReparse)
        return Left(removal, item->path, LeftReason::Link);
    if (permanent && !item->IsFolder() && !IsIndexFile(*item)) return DeleteFileForGood(*item, removal);
    if (IsLinkOrBehindLink(*item)) return Left(removal, item->path, LeftReason::Link);
    if (IsIndexFile(*item)) WipeIndexFile(ApiPath(item->path));
    removal.report.Removing(item->path);
    if (item->IsFolder()) return DeleteFolderItem(*item, permanent, removal);
    return ShellDelete(item->path, permanent) || Left(removal, item->path, LeftReason::Failed);
}


std::vector<DWORD> WipeChunks(ULONGLONG size) {
    std::vector<DWORD> chunks;
    if (size <= kHeaderSize) return chunks;
    for (ULONGLONG left = size - kHeaderSize; left > 0;) {
        DWORD chunk = left > kWipeBlock ? kWipeBlock : static_cast<DWORD>(left);
        chunks.push_back(chunk);
        left -= chunk;
    }
    return chunks;
}

bool WipeIndexFile(const std::wstring& path) {
    win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return true;
    LARGE_INTEGER header{};
    header.QuadPart = kHeaderSize;
    if (!::SetFilePointerEx(file.Get(), header, nullptr, FILE_BEGIN)) return true;
    static const BYTE zeros[kWipeBlock] = {};
    for (DWORD chunk : WipeChunks(static_cast<ULONGLONG>(size.QuadPart))) {
        DWORD written = 0;
        if (!::WriteFile(file.Get(), zeros, chunk, &written, nullptr)) break;  // disk full: stop, the delete follows
    }
    return true;
}

bool IsFileInUse(const std::wstring& path) { return path.size() >= MAX_PATH || IsFileLocked(path); }

bool IsFileLocked(const std::wstring& apiPath) {
    // Read-only counts as in use even for an administrator whom the file
    // system would let write (Wine running as root does).
    DWORD attributes = ::GetFileAttributesW(apiPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return true;
    win::FileHandle file(::CreateFileW(apiPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file.IsValid();
}
