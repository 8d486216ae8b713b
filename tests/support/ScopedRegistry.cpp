#include "support/ScopedRegistry.h"

namespace testing_support {

namespace {
bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY h = nullptr;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    ::RegCloseKey(h);
    return true;
}
}  // namespace

ScopedRegistryValue::ScopedRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
                                         const void* data, DWORD bytes)
    : m_root(root), m_key(key), m_name(name) {
    for (size_t at = 0; at != std::wstring::npos;) {
        at = key.find(L'\\', at + 1);
        std::wstring level = key.substr(0, at);
        if (!KeyExists(root, level)) {
            m_firstCreated = level;
            break;
        }
    }
    HKEY h = nullptr;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExW(h, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
        ::RegCloseKey(h);
    }
}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name,
                                         const std::wstring& text)
    : ScopedRegistryValue(root, key, name, REG_SZ, text.c_str(),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) {}

ScopedRegistryValue::~ScopedRegistryValue() {
    if (!m_firstCreated.empty()) {
        ::RegDeleteTreeW(m_root, m_firstCreated.c_str());
        return;
    }
    HKEY h = nullptr;
    if (::RegOpenKeyExW(m_root, m_key.c_str(), 0, KEY_SET_VALUE, &h) == ERROR_SUCCESS) {
        ::RegDeleteValueW(h, m_name.c_str());
        ::RegCloseKey(h);
    }
}

}  // namespace testing_support
