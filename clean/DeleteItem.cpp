#include "clean/DeleteItem.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "app/BriskoApp.h"
#include "clean/FolderRemoval.h"
#include "clean/Guards.h"
#include "clean/ItemPath.h"
#include "clean/Links.h"
#include "i18n/Lang.h"
#include "res/resource.h"
#include "win/Handle.h"
#include "win/Path.h"
#include "win/Text.h"

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

// Only the exact lower-case name is a cache index.
bool IsIndexFile(const CanonicalItem& item) { return item.Name() == L"index.dat"; }

// A cache index that the search did not see is still wiped and handed to the
// shell, as long as its folder is no link.
bool DeleteMissingItem(const CanonicalItem& item, bool permanent) {
    if (!IsIndexFile(item)) return false;
    std::optional<CanonicalItem> folder = CanonicalItemPath(ParentOf(item.path));
    if (!folder || IsLinkOrBehindLink(*folder)) return false;
    WipeIndexFile(ApiPath(item.path));
    ShowDeletingStatus(item.path);
    return ShellDelete(item.path, permanent);
}

bool DeleteFileItem(const CanonicalItem& item, bool permanent) {
    // The shell takes no path beyond the plain length: a file that it cannot
    // be handed in a shorter spelling is removed for good by the file system.
    if (permanent && item.path.size() >= MAX_PATH) return ::DeleteFileW(ApiPath(item.path).c_str());
    return ShellDelete(item.path, permanent);
}

bool DeleteFolderItem(const CanonicalItem& item, bool permanent, const RemovalGuards& guards) {
    // Folders that programs expect to exist are emptied and kept.
    if (guards.systemFolders.ContainsCanonical(item.path)) {
        if (!permanent) return RecycleFolderContents(item.path, guards);
        RemoveFolderContents(item.path, guards);
        return true;
    }
    // The shell's removal of a tree follows links under Wine.
    if (permanent) return RemoveFolderTree(item.path, guards);
    return !TreeHoldsLink(item.path) && ShellDelete(item.path, false);
}

}  // namespace

bool DeleteFoundItem(const std::wstring& path, bool permanent) {
    return DeleteFoundItem(path, permanent, MachineGuards());
}

bool DeleteFoundItem(const std::wstring& path, bool permanent, const RemovalGuards& guards) {
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    if (!item) return false;  // a spelling that leads nowhere certain
    if (!item->exists) return DeleteMissingItem(*item, permanent);
    if (IsProtectedFolder(item->path, guards.protectedFolders)) return false;
    if (IsLinkOrBehindLink(*item)) return false;  // a link, or what lies behind one, stays where it is
    if (IsIndexFile(*item)) WipeIndexFile(ApiPath(item->path));
    ShowDeletingStatus(item->path);
    return item->IsFolder() ? DeleteFolderItem(*item, permanent, guards) : DeleteFileItem(*item, permanent);
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

std::wstring DeletingStatusText(const std::wstring& path) {
    std::wstring builtIn = win::LoadResString(IDS_DELETING);
    if (builtIn.empty()) builtIn = L"Deleting ";
    return GetUiText(L"Status", L"11", builtIn) + L" " + path;
}

void ShowDeletingStatus(const std::wstring& path) {
    win::CStatusBar* bar = GetBriskoApp().m_pStatusBar;
    HWND window = bar ? bar->GetSafeHwnd() : nullptr;
    if (!window) return;
    std::wstring text = DeletingStatusText(path);
    ::SendMessageW(window, SB_SETTEXTW, 0 | SBT_NOTABPARSING, reinterpret_cast<LPARAM>(text.c_str()));
}
