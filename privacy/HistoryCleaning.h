#pragma once
// The six history routines of the privacy options. Registry lists are
// deleted at once, the URL history and the Internet cache are cleared at
// once; history files and folders are only handed to a sink, which lists
// them for the user's removal. Each routine advances the counter by one step
// per action, a skipped one included.
#include <atomic>
#include <string>

#include "catalog/BriskoDoc.h"
#include "privacy/UserKeys.h"
#include "scan/FoundItemSink.h"

// What the routines work on and report to.
struct CHistoryCleaning {
    const CBriskoDoc& doc;   // the key lists and the profile folders
    IFoundItemSink& sink;    // the result list
    IHistoryProgress& progress;
    std::wstring keyBase;    // below HKEY_CURRENT_USER, where the key paths start; empty in the program
    const std::atomic<bool>* stop = nullptr;  // once set, no further routine starts
};

// The options, each with the steps it adds to the counter.
struct CHistoryOptions {
    bool urlHistory = false;       // 16
    bool autoComplete = false;     // 3
    bool runHistory = false;       // one per Run key
    bool findHistory = false;      // 1 plus one per Find key
    bool typedUrl = false;         // 1
    bool recentDocuments = false;  // 3 plus one per recent-document key
};

void CleanUrlHistory(const CHistoryCleaning& run);
void CleanAutoComplete(const CHistoryCleaning& run);
void CleanRunHistory(const CHistoryCleaning& run);
void CleanFindHistory(const CHistoryCleaning& run);
void CleanTypedUrl(const CHistoryCleaning& run);
void CleanRecentDocuments(const CHistoryCleaning& run);

// The routines of the options that are on, in the order above, until a stop.
void RunHistoryCleaning(const CHistoryCleaning& run, const CHistoryOptions& options);
// The steps RunHistoryCleaning will add, for a progress range.
int HistoryCleaningSteps(const CBriskoDoc& doc, const CHistoryOptions& options);
