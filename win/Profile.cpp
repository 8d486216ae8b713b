#include "win/Profile.h"

#include "win/Handle.h"
#include "win/Registry.h"

namespace win {

void CProfile::SetRoot(const std::wstring& registryKey, const std::wstring& appName) {
    m_root = L"software\\" + registryKey + L"\\" + appName;
}

std::wstring CProfile::SectionPath(const std::wstring& section) const { return m_root + L"\\" + section; }

std::wstring CProfile::GetString(const std::wstring& section, const std::wstring& entry,
                                 const std::wstring& def) const {
    if (!HasRoot()) return def;
    std::optional<RegistryText> value = ReadRegistryText(HKEY_CURRENT_USER, SectionPath(section), entry);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return def;
    return value->text;
}

int CProfile::GetInt(const std::wstring& section, const std::wstring& entry, int def) const {
    if (!HasRoot()) return def;
    RegKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return def;
    DWORD type = 0, value = 0, size = sizeof(value);
    if (::RegQueryValueExW(key.Get(), entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return def;
    return static_cast<int>(value);
}

bool CProfile::WriteString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) const {
    if (!HasRoot()) return false;
    RegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                          key.Put(), nullptr) != ERROR_SUCCESS)
        return false;
    DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.Get(), entry.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            bytes) == ERROR_SUCCESS;
}

bool CProfile::WriteInt(const std::wstring& section, const std::wstring& entry, int value) const {
    if (!HasRoot()) return false;
    RegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                          key.Put(), nullptr) != ERROR_SUCCESS)
        return false;
    DWORD dw = static_cast<DWORD>(value);
    return ::RegSetValueExW(key.Get(), entry.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dw),
                            sizeof(dw)) == ERROR_SUCCESS;
}

}  // namespace win
