#pragma once
// A row of the list that stands for a registry key, or for one value of a
// key, which a rules entry names: "HKEY_CURRENT_USER\Software\Vendor\App"
// or "HKEY_LOCAL_MACHINE\Software\Vendor\App|Value". No file row begins so:
// a file row is a full path, with a drive or a server.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct RegistryRow {
    HKEY root = nullptr;            // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
    std::vector<std::wstring> steps;  // below the root, empty steps left out
    bool wholeKey = true;
    std::wstring value;  // the value's name when not the whole key ("" the key's default value)

    std::wstring Key() const;  // the steps joined by backslashes
};

// "ROOT\Key" or "ROOT\Key|Value", the root by its long name.
std::wstring RegistryRowText(const RegistryRow& row);
// The row a text names: a root (HKCU, HKEY_CURRENT_USER, HKLM or
// HKEY_LOCAL_MACHINE), its key, and "|Value" for one value; nothing for any
// other root or text.
std::optional<RegistryRow> ParseRegistryRow(const std::wstring& text);
// True for every text that begins as a registry path ("HKEY_...\",
// "HKCU\", ...), whatever its root: such a row is never a file.
bool LooksLikeRegistryRow(const std::wstring& text);

// Why a rule may not touch the row; "" when it may. Only keys under
// Software; never Software itself, Policies or Classes whole, anything of
// the policies, nor a vendor's root key (Software\Vendor) whole; no step
// "." or "..", no wildcard.
std::wstring RegistryRowRefusal(const RegistryRow& row);
