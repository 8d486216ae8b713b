#pragma once
// brisko-cli's entry in the Application event log: one for every clean,
// under the source "Brisko", whose messages are in brisko-cli.exe itself.
// Writing it never fails a clean.
#include <windows.h>

#include <string>
#include <vector>

#include "cli/CleanReport.h"

inline constexpr const wchar_t* kEventSource = L"Brisko";

class IEventLog {
public:
    virtual ~IEventLog() = default;
    // One entry; false when the log would not take it.
    virtual bool Write(WORD type, DWORD eventId, const std::vector<std::wstring>& strings) = 0;
};

// The Application log of this machine.
IEventLog& ApplicationEventLog();

// The insertion strings of a clean's entry, each readable on its own.
std::vector<std::wstring> CleanEventStrings(const CleanRecord& record, const std::wstring& reportPath);

// Writes the clean's entry: information when nothing stayed, a warning otherwise.
bool LogClean(IEventLog& log, const CleanRecord& record, const std::wstring& reportPath);
