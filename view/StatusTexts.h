#pragma once
// The texts of the title bar and of the status bar's first pane while the
// view works: pure text, so that they are tested without a window.
#include <windows.h>

#include <string>

#include "clean/RemovalReport.h"
#include "scan/FoundItems.h"

// The "Status" texts: "8" and "13" ("Ready"), "9" ("selected") and "11"
// ("Deleting ") are the built-in texts themselves with the built-in
// language; "14" ("Completed") is always looked up.
std::wstring ReadyText();        // key 8, after a clean that emptied the list
std::wstring NothingSelectedText();  // key 13
std::wstring CompletedText();    // key 14

// "3 / 120 selected", or the key 13 text when nothing is selected.
std::wstring SelectionStatusText(int selected, int rows);

// The share of a clean done: (start count - still selected) x 100 / start
// count, 0 before anything was counted.
int ProgressPercent(int startCount, int selected);
// "40% Completed - " and the mode title.
std::wstring ProgressTitle(int percent, const std::wstring& modeTitle);
// "Completed - " and the mode title.
std::wstring CompletedTitle(const std::wstring& modeTitle);

// The panes of the status bar: messages, the selection's size, what the
// last clean did (CleanSummaryText).
inline constexpr int kMessagePane = 0;
inline constexpr int kSelectionSizePane = 1;
inline constexpr int kCleanSummaryPane = 2;

// "812.4 MB in 3,510 selected", the contents of the selected folders
// included; while some are measured, "192.6 MB in 3,512 selected, 2 folders
// measuring…".
std::wstring SelectionSizeText(const ItemAmount& amount, int rows);

// "Standard - scanning 12,480": the mode's own name and the items found so far.
std::wstring ScanningTitle(const std::wstring& modeName, size_t found);

// The status of a selected row whose item a clean left: why it stayed.
std::wstring LeftRowStatusText(LeftReason reason);
