#pragma once
// A mode's scan as a job: the window goes on answering and shows how many
// items are found so far (the progress's count) and the first of them as
// they come; the scan stops, keeping what it has found, when asked.
#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scan/FoundItems.h"
#include "scan/RulesScan.h"
#include "view/TypeNames.h"
#include "win/Job.h"

class CBriskoDoc;

// Shared by the view and the scan's thread. The listing is the thread's
// until it has ended.
struct ScanJob : win::JobControl {
    using JobControl::JobControl;
    BYTE requested = 0;         // the mode asked for
    std::atomic<BYTE> mode{0};  // the mode whose scan runs: Cookies Killer may give way
    FoundItems items;     // sorted by name when the scan ends
    // Copies of the first rows found, for the window to show in the order
    // found while the scan runs; the sorted listing replaces them at its end.
    win::JobResults<FoundItem> shown;
    FoundItems retired;   // the listing the scan replaces, let go on the scan's thread
    BYTE listed = 0;  // the mode whose findings are listed
    bool stopped = false;
    std::vector<std::wstring> notices;  // what the scan left out and why, each once
    std::optional<std::wstring> unreadableRules;  // the policy's rules file, when it could not be read
    std::vector<std::wstring> ruleNames;  // of the rules file's entries, which the items' rule numbers stand for
};

// How many rows a running scan hands the window to show before its end. The
// list cannot be scrolled while it scans, so this is a window's worth many
// times over; each row shown is a copy the scan pays for once more.
inline constexpr size_t kRowsShownWhileScanning = 2000;

// Runs the scan of `job.mode` into `job.items`, each item with the tag of its
// type name, and sorts them by name, on the calling thread; returns when it
// is done or stopped.
void RunScanJob(const CBriskoDoc& doc, const std::optional<RulesFile>& rules, CTypeNames& types, ScanJob& job);
