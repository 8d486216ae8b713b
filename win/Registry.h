#pragma once
// The one reader of registry values as text: the catalogue's installation
// folders and the per-user settings store both read through it.
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

#include "win/Handle.h"

namespace win {

struct RegistryText {
    DWORD type = REG_NONE;  // the registry type the value is stored with
    std::wstring text;
};

// One open registry key, closed at the end of its scope: the program's one
// way to open, read, write, enumerate and delete keys.
class RegistryKey {
public:
    // The key `root`\`subKey`; an empty key when it cannot be opened (or made).
    static RegistryKey Open(HKEY root, const std::wstring& subKey, REGSAM access = KEY_READ);
    static RegistryKey Create(HKEY root, const std::wstring& subKey, REGSAM access = KEY_WRITE);
    // Removes the key with everything below it; true when it went.
    static bool DeleteTree(HKEY root, const std::wstring& subKey);

    explicit operator bool() const noexcept { return m_key.IsValid(); }
    // A value of any type as text up to its first NUL, always ended, also
    // for an odd size or a value stored without its NUL.
    std::optional<RegistryText> ReadText(const std::wstring& name) const;
    // A REG_DWORD value.
    std::optional<DWORD> ReadDword(const std::wstring& name) const;
    bool WriteText(const std::wstring& name, const std::wstring& value) const;
    bool WriteDword(const std::wstring& name, DWORD value) const;
    // The names of the keys right below.
    std::vector<std::wstring> SubKeyNames() const;
    // True when the key holds a value of that name ("" the default value), of any type.
    bool HasValue(const std::wstring& name) const;
    // Removes that one value; true when it went.
    bool DeleteValue(const std::wstring& name) const;

private:
    RegKey m_key;
};

// Reads value `name` of key `root`\`subKey`, whatever its type: its bytes are
// taken as text up to the first NUL and always end, also for an odd size or a
// value stored without its NUL. Nothing when the key or value cannot be read.
std::optional<RegistryText> ReadRegistryText(HKEY root, const std::wstring& subKey, const std::wstring& name);

// True when key `root`\`subKey` exists and may be read. A full key path
// ("HKCU\Software\..." or "HKEY_LOCAL_MACHINE\...") names its root itself.
bool RegistryKeyExists(HKEY root, const std::wstring& subKey);
bool RegistryKeyExists(const std::wstring& fullKeyPath);

}  // namespace win
