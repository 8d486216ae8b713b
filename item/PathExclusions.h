#pragma once
// The files and folders that a policy keeps out of every scan and every
// removal. Each entry names an item (a folder with all it holds) or, with
// '*' and '?' in its last step, the items of one folder whose names match.
// Entries and candidates are compared in one form (ItemKey), so any spelling
// of an excluded item (8.3 names, letter case, slashes, "." and "..") is
// caught; an entry is first taken to its local forms (LocalSpelling.h), so
// one written as "\\localhost\C$\...", "\\?\C:\...", "\\.\C:\...", through a
// link or with a stream suffix keeps the item it names too.
#include <string>
#include <vector>

class PathExclusions {
public:
    enum class Added {
        Resolved,   // in its local forms
        Unresolved, // names no place on this machine that can be resolved (another machine's share): nothing added
        Refused,    // no full path, or a wildcard before its last step: nothing added
    };
    Added Add(const std::wstring& spelling);
    bool Empty() const { return m_entries.empty(); }

    // True when `path` is an excluded item or lies inside one.
    bool Covers(const std::wstring& path) const;
    // True when an excluded item may lie below the folder `path`: removing
    // the folder whole would take it along.
    bool HoldsExcluded(const std::wstring& path) const;

private:
    struct Entry {
        std::wstring folder;   // ItemKey form: the item itself, or the folder of a pattern
        std::wstring pattern;  // empty for an entry without wildcards
    };
    std::vector<Entry> m_entries;
};
