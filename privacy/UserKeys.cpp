#include "privacy/UserKeys.h"

#include <windows.h>

#include "win/Registry.h"

namespace {

// Appends the non-empty steps of `path` to `out`; false for a "." or ".." step.
bool AppendSteps(std::wstring& out, const std::wstring& path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        std::wstring step = path.substr(start, end - start);
        if (step == L"." || step == L"..") return false;
        if (!step.empty()) out += (out.empty() ? L"" : L"\\") + step;
        start = end + 1;
    }
    return true;
}

}  // namespace

std::wstring UserKeyPath(const std::wstring& base, const std::wstring& key) {
    std::wstring own;
    if (!AppendSteps(own, key) || own.empty()) return {};
    std::wstring path;
    if (!AppendSteps(path, base)) return {};
    return path.empty() ? own : path + L"\\" + own;
}

bool DeleteUserKey(const std::wstring& base, const std::wstring& key) {
    return DeleteKeyTree(HKEY_CURRENT_USER, base, key);
}

bool DeleteKeyTree(HKEY root, const std::wstring& base, const std::wstring& key) {
    std::wstring path = UserKeyPath(base, key);
    if (path.empty()) return false;
    return win::RegistryKey::DeleteTree(root, path);
}

void DeleteRegistryTree(CTargetList keys, const std::wstring& base, IHistoryProgress& progress) {
    for (const wchar_t* key : keys) {
        DeleteUserKey(base, key ? key : L"");
        progress.Advance(1);
    }
}
