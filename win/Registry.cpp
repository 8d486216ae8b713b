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

}  // namespace win
