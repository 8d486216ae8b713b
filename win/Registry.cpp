#include "win/Registry.h"

#include <shlwapi.h>

#include <iterator>
#include <vector>

namespace win {

RegistryKey RegistryKey::Open(HKEY root, const std::wstring& subKey, REGSAM access) {
    RegistryKey key;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, access, key.m_key.Put()) != ERROR_SUCCESS) key.m_key.Reset();
    return key;
}

RegistryKey RegistryKey::Create(HKEY root, const std::wstring& subKey, REGSAM access) {
    RegistryKey key;
    if (::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, access, nullptr, key.m_key.Put(), nullptr) !=
        ERROR_SUCCESS)
        key.m_key.Reset();
    return key;
}

bool RegistryKey::DeleteTree(HKEY root, const std::wstring& subKey) {
    return ::SHDeleteKeyW(root, subKey.c_str()) == ERROR_SUCCESS;
}

std::optional<RegistryText> RegistryKey::ReadText(const std::wstring& name) const {
    if (!m_key) return std::nullopt;
    RegistryText value;
    DWORD size = 0;
    if (::RegQueryValueExW(m_key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    // Room for the value plus a terminator of our own.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD bytes = size;
    if (::RegQueryValueExW(m_key.Get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                           &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.text = buffer.data();
    return value;
}

bool RegistryKey::HasValue(const std::wstring& name) const {
    return m_key && ::RegQueryValueExW(m_key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const std::wstring& name) const {
    return m_key && ::RegDeleteValueW(m_key.Get(), name.c_str()) == ERROR_SUCCESS;
}

std::optional<DWORD> RegistryKey::ReadDword(const std::wstring& name) const {
    DWORD type = 0, value = 0, size = sizeof(value);
    if (!m_key ||
        ::RegQueryValueExW(m_key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return std::nullopt;
    return value;
}

bool RegistryKey::WriteText(const std::wstring& name, const std::wstring& value) const {
    DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return m_key && ::RegSetValueExW(m_key.Get(), name.c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

bool RegistryKey::WriteDword(const std::wstring& name, DWORD value) const {
    return m_key && ::RegSetValueExW(m_key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                     sizeof(value)) == ERROR_SUCCESS;
}

std::vector<std::wstring> RegistryKey::SubKeyNames() const {
    std::vector<std::wstring> names;
    if (!m_key) return names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        LONG result = ::RegEnumKeyExW(m_key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result == ERROR_SUCCESS) names.emplace_back(name, length);
    }
    return names;
}

std::optional<RegistryText> ReadRegistryText(HKEY root, const std::wstring& subKey, const std::wstring& name) {
    return RegistryKey::Open(root, subKey).ReadText(name);
}

bool RegistryKeyExists(HKEY root, const std::wstring& subKey) {
    return static_cast<bool>(RegistryKey::Open(root, subKey));
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
