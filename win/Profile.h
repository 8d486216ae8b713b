#pragma once
// The per-user settings store: HKEY_CURRENT_USER\software\<key>\<application>,
// one subkey per section, one value per entry.
#include <windows.h>
#include <string>

namespace win {

class CProfile {
public:
    // Names the store; until then every read yields its default and writes fail.
    void SetRoot(const std::wstring& registryKey, const std::wstring& appName);
    bool HasRoot() const { return !m_root.empty(); }
    // The path below HKEY_CURRENT_USER, e.g. "software\Brisko\Brisko .NET".
    const std::wstring& RootPath() const { return m_root; }

    // A string entry; a missing entry or one of another type yields `def`.
    std::wstring GetString(const std::wstring& section, const std::wstring& entry, const std::wstring& def) const;
    // An integer entry; a missing entry or one of another type yields `def`.
    int GetInt(const std::wstring& section, const std::wstring& entry, int def) const;
    bool WriteString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) const;
    bool WriteInt(const std::wstring& section, const std::wstring& entry, int value) const;

private:
    std::wstring SectionPath(const std::wstring& section) const;
    std::wstring m_root;
};

}  // namespace win
