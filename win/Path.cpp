#include "win/Path.h"

#include <shlwapi.h>

#include <cwctype>

std::wstring JoinPath(const std::wstring& base, const std::wstring& relative) {
    if (base.size() == 3) return base + relative;
    std::wstring path;
    path.reserve(base.size() + 1 + relative.size());
    path.append(base).append(1, L'\\').append(relative);
    return path;
}

std::wstring CurrentFullPath(const std::wstring& path) {
    DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    n = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    full.resize(n);
    return full;
}

std::wstring ProgramFolder() {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    return ParentOf(module);
}

std::wstring ParentOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == path.size()) return {};
    if (slash == 2 && path[1] == L':') return path.substr(0, 3);  // keep "X:\"
    return path.substr(0, slash);
}

std::wstring WithoutLongPrefix(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\??\\", 0) == 0) return path.substr(4);
    return path;
}

bool IsFullPath(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\' && iswalpha(path[0])) return true;
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

bool FullPathExists(const std::wstring& path) { return IsFullPath(path) && ::PathFileExistsW(path.c_str()); }

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

void ClearReadOnly(const std::wstring& path, DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_READONLY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
    ::SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

// Room for a file name at the end of a folder path in the plain form.
constexpr size_t kPlainPathLimit = MAX_PATH - 12;

std::wstring ApiPath(const std::wstring& canonicalPath) {
    if (canonicalPath.size() < kPlainPathLimit) return canonicalPath;
    if (canonicalPath.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + canonicalPath.substr(2);
    return L"\\\\?\\" + canonicalPath;
}

std::vector<std::wstring> PathSteps(const std::wstring& path) {
    std::vector<std::wstring> steps;
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        if (end > start) steps.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return steps;
}
