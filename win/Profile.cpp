#include "win/Profile.h"

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
    std::optional<DWORD> value = RegistryKey::Open(HKEY_CURRENT_USER, SectionPath(section)).ReadDword(entry);
    return value ? static_cast<int>(*value) : def;
}

bool CProfile::WriteString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) const {
    return HasRoot() && RegistryKey::Create(HKEY_CURRENT_USER, SectionPath(section)).WriteText(entry, value);
}

bool CProfile::WriteInt(const std::wstring& section, const std::wstring& entry, int value) const {
    return HasRoot() &&
           RegistryKey::Create(HKEY_CURRENT_USER, SectionPath(section)).WriteDword(entry, static_cast<DWORD>(value));
}

}  // namespace win
