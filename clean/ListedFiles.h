#pragma once
// The entries of a held folder as one listing through its handle showed
// them, found again by name. A clean that removes many files of one folder
// takes their attributes and sizes from here instead of asking each file's
// handle: under Wine that question alone costs a round trip to the server
// per file, while a listing costs a few microseconds per entry.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ListedFile {
    DWORD attributes = 0;
    ULONGLONG size = 0;
};

class CListedFiles {
public:
    CListedFiles() = default;
    // The entries of the open folder now.
    static CListedFiles Of(HANDLE folder);

    // The entry of exactly this name (case and all); nothing when none was
    // listed, or when its key is another entry's too.
    std::optional<ListedFile> Find(const std::wstring& name) const;

private:
    // A key per name, not the name: a folder may hold a million entries.
    struct Entry {
        uint64_t key = 0;
        ULONGLONG size = 0;
        DWORD attributes = 0;
        bool shared = false;  // another name has this key
    };
    std::vector<Entry> m_entries;  // by key
};
