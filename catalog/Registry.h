#pragma once
#include <windows.h>
#include <string>

// Reads one string value below `root` (the local machine unless told). The
// full value path is a key path, a backslash and a value name (empty for the
// key's default value); leading backslashes and those that end the key are
// ignored. Any
// failure gives `def`. The value's registry type is not checked: its bytes
// are read as text up to the first NUL, and always end.
std::wstring ReadRegistryString(const std::wstring& fullValuePath, const std::wstring& def,
                                HKEY root = HKEY_LOCAL_MACHINE);

// The key and value-name parts of a full value path, as ReadRegistryString splits it.
struct RegistryValuePath {
    std::wstring key;
    std::wstring value;
};
RegistryValuePath SplitRegistryValuePath(const std::wstring& fullValuePath);
