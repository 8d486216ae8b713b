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
    // The matches that follow come from the rules file's entry numbered
    // `entry` (its index + 1), or from the program's own scans when 0.
    virtual void FromRuleEntry(std::uint16_t entry) {}
};
