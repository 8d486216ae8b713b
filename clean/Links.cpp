#include "clean/Links.h"

#include <vector>

#include "clean/Guards.h"
#include "win/Handle.h"
#include "win/Path.h"

std::wstring FinalPathOf(const std::wstring& path) {
    win::FileHandle entry(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                        nullptr));
    if (!entry) return {};
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        DWORD n = ::GetFinalPathNameByHandleW(entry.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                              VOLUME_NAME_DOS);
        if (n == 0) return {};
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(n + 1);
    }
}

bool IsLinkEntry(const std::wstring& folder, const std::wstring& folderFinalPath, const WIN32_FIND_DATAW& find) {
    if (find.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
    if (folderFinalPath.empty()) return true;
    std::wstring entryFinal = FinalPathOf(JoinPath(folder, find.cFileName));
    return entryFinal.empty() || FinalPathShowsLink(folderFinalPath, find.cFileName, entryFinal);
}

bool PathRunsThroughLink(const std::wstring& path) {
    std::wstring final = FinalPathOf(path);
    if (final.empty()) return false;
    // A short (8.3) spelling is no link: compare the long form.
    std::vector<wchar_t> longPath(32768);
    DWORD n = ::GetLongPathNameW(path.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
    std::wstring expected = (n > 0 && n < longPath.size()) ? std::wstring(longPath.data(), n) : path;
    return !SamePathText(NormaliseFolderPath(expected), NormaliseFolderPath(final));
}

bool IsLinkPath(const std::wstring& path) {
    WIN32_FIND_DATAW find;
    win::FindHandle search(::FindFirstFileW(path.c_str(), &find));
    if (!search) return false;
    std::wstring folder = ParentOf(path);
    return IsLinkEntry(folder, FinalPathOf(folder), find) || PathRunsThroughLink(path);
}

bool TreeHoldsLink(const std::wstring& folder) {
    std::wstring folderFinal = FinalPathOf(folder);
    if (folderFinal.empty()) return true;
    WIN32_FIND_DATAW find;
    win::FindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &find));
    if (!search) return false;
    do {
        if (IsDotEntry(find.cFileName)) continue;
        if (IsLinkEntry(folder, folderFinal, find)) return true;
        if ((find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && TreeHoldsLink(JoinPath(folder, find.cFileName)))
            return true;
    } while (::FindNextFileW(search.Get(), &find));
    return false;
}
