#include "win/Registry.h"

#include <vector>

#include "win/Handle.h"

namespace win {

std::optional<RegistryText> ReadRegistryText(HKEY root, const std::wstring& subKey, const std::wstring& name) {
    RegKey key;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return std::nullopt;
    RegistryText value;
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    // Room for the value plus a terminator of our own: a value of any type or
    // odd size, stored with or without its NUL, still reads as an ended text.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD bytes = size;
    if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                           &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.text = buffer.data();
    return value;
}

bool RegistryKeyExists(HKEY root, const std::wstring& subKey) {
    RegKey key;
    return ::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

bool RegistryKeyExists(const std::wstring& fullKeyPath) {
    static const struct {
        const wchar_t* shortName;
        const wchar_t* longName;
        HKEY root;
    } kRoots[] = {{L"HKCU", L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                  {L"HKLM", L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                  {L"HKCR", L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                  {L"HKU", L"HKEY_USERS", HKEY_USERS}};
    size_t slash = fullKeyPath.find(L'\\');
    std::wstring rootName = fullKeyPath.substr(0, slash);
    std::wstring subKey = slash == std::wstring::npos ? std::wstring() : fullKeyPath.substr(slash + 1);
    for (const auto& root : kRoots)
        if (_wcsicmp(rootName.c_str(), root.shortName) == 0 || _wcsicmp(rootName.c_str(), root.longName) == 0)
            return RegistryKeyExists(root.root, subKey);
    return false;
}

}  // namespace win
