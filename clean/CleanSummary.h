#pragma once
// What a whole clean did, added up row by row, and the one line that tells
// it in the user's language: "Removed 3,508 items (192.6 MB); 2 left: 1 in
// use, 1 access denied; cookies cleaned, 12 kept". The window shows it in
// its status bar, the command line prints it.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "clean/RemovalTally.h"

struct CleanSummary {
    size_t removed = 0;              // items removed whole (or emptied and kept)
    size_t partlyRemoved = 0;        // folder items that kept some of their contents
    size_t partlyFilesRemoved = 0;   // of those: the files that went
    size_t partlyFilesTotal = 0;     // and all their files
    size_t vanished = 0;             // gone before the clean reached them
    ULONGLONG bytesRemoved = 0;      // every file that went, folder contents included
    std::map<LeftReason, size_t> leftBy;  // items left whole, by reason, in the reasons' order
    std::vector<std::wstring> cleanedInside;  // items kept on purpose and cleaned inside: how, each

    void Add(const RowRemoval& row);
    // The items left whole.
    size_t Left() const;
};

// The summary line; the built-in English while the language is "Default".
std::wstring CleanSummaryText(const CleanSummary& summary);

// Why an item stays, in the user's language ("in use", "access denied", ...).
std::wstring LeftReasonUiText(LeftReason reason);
