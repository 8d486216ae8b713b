#pragma once
// The type names of the listed items, each kept once: a row holds the
// number of its name, so that drawing and sorting by type ask the shell
// nothing. Filled from the scan's thread, read on the window's.
#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CTypeNames {
public:
    // The number of the item's type name (GetFileTypeText), added when new.
    std::uint32_t TagOf(const std::wstring& path, bool folder);
    std::wstring Name(std::uint32_t tag) const;
    // The place of each name among all of them in the order of the Type
    // column (letters A-Z folded), by tag.
    std::vector<std::uint32_t> Ranks() const;

private:
    std::uint32_t TagOfName(const std::wstring& name);
    mutable SRWLOCK m_lock = SRWLOCK_INIT;
    std::vector<std::wstring> m_names;
    std::unordered_map<std::wstring, std::uint32_t> m_tags;
    // The shell names a file's type by its extension alone: one look-up per
    // extension, lower-cased, for a scan of any size.
    std::unordered_map<std::wstring, std::uint32_t> m_byExtension;
};
