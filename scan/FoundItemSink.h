#pragma once
// Where the walk primitives hand every match: the result list in the
// program, a recording receiver in tests.
#include <windows.h>

#include <cstdint>
#include <string>

class IFoundItemSink {
public:
    virtual ~IFoundItemSink() = default;
    virtual void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) = 0;
    // An item the walk has just checked: its path is canonical and it is no
    // link; a file among them was opened with no sharing and found free. A
    // receiver that tests the same need not resolve or open it again.
    virtual void AddCheckedItem(std::wstring path, const WIN32_FIND_DATAW& findData) {
        AddFoundItem(std::move(path), findData);
    }
    // The matches that follow come from the rules file's entry numbered
    // `entry` (its index + 1), or from the program's own scans when 0.
    virtual void FromRuleEntry(std::uint16_t entry) {}
};
