#pragma once
// The one reader of registry values as text: the catalogue's installation
// folders and the per-user settings store both read through it.
#include <windows.h>
#include <optional>
#include <string>

namespace win {

struct RegistryText {
    DWORD type = REG_NONE;  // the registry type the value is stored with
    std::wstring text;
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
