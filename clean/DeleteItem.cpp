#include "clean/DeleteItem.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "app/BriskoApp.h"
#include "clean/FolderRemoval.h"
#include "clean/Guards.h"
#include "clean/Links.h"
#include "i18n/Lang.h"
#include "res/resource.h"
#include "win/Handle.h"
#include "win/Text.h"

namespace {
constexpr DWORD kHeaderSize = 64;
constexpr DWORD kWipeBlock = 10000;

}  // namespace

bool ShellDelete(const std::wstring& path, bool permanent) {
    std::wstring from = path;
    from.push_back(L'\0');  // the source list ends with two NULs
    SHFILEOPSTRUCTW op{};
    op.hwnd = nullptr;
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = permanent ? (FOF_NOCONFIRMATION | FOF_NOERRORUI)
                          : (FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI);
    return ::SHFileOperationW(&op) == 0;
}

bool DeleteFoundItem(const std::wstring& path, bool permanent) {
    if (IsProtectedOnThisMachine(path)) return false;
    WIN32_FIND_DATAW entry{};
    bool found = false;
    {
        win::FindHandle search(::FindFirstFileW(path.c_str(), &entry));
        found = search.IsValid();
    }
    if (found && IsLinkPath(path)) return false;  // a link, or what lies behind one, stays where it is
    // Only the exact lower-case name is a cache index; it is wiped even when
    // the search did not see it, and then still handed to the shell.
    if (found && std::wstring(entry.cFileName) == L"index.dat") {
        WipeIndexFile(path);
    } else if (!found && path.size() >= 10 && path.compare(path.size() - 10, 10, L"\\index.dat") == 0) {
        WipeIndexFile(path);
    } else if (!::PathFileExistsW(path.c_str())) {
        return false;
    }
    ShowDeletingStatus(path);
    if (found && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        // The shell's removal of a tree follows links under Wine.
        if (permanent) return RemoveFolderTree(path);
        if (TreeHoldsLink(path)) return false;
    }
    return ShellDelete(path, permanent);
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

bool IsFileInUse(const std::wstring& path) {
    if (path.size() >= MAX_PATH) return true;
    // Read-only counts as in use even for an administrator whom the file
    // system would let write (Wine running as root does).
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return true;
    win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
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
