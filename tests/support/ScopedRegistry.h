#pragma once
// A registry string value that exists for one scope. The keys it had to
// create are removed again with it; a key that was there keeps all but the
// value.
#include <windows.h>
#include <string>

namespace testing_support {

class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
                        const void* data, DWORD bytes);
    ScopedRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

private:
    HKEY m_root;
    std::wstring m_key, m_name, m_firstCreated;
};

}  // namespace testing_support
