#include "i18n/Ini.h"

#include <windows.h>

CIni::~CIni() { Flush(); }

void CIni::Flush() const {
    if (!m_strFileName.empty()) ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_strFileName.c_str());
}

std::wstring CIni::GetString(const std::wstring& section, const std::wstring& key, const std::wstring& def) const {
    if (m_strFileName.empty()) return def;
    wchar_t buffer[kBufferChars] = {};
    DWORD n = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), def.c_str(), buffer, kBufferChars,
                                         m_strFileName.c_str());
    if (n == 0) return def;
    buffer[kBufferChars - 1] = L'\0';
    return std::wstring(buffer);
}
