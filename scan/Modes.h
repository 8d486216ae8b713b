#pragma once
// The three scan modes and how a mode is run: the window and the command
// line list the findings of the same mode the same way.
#include <windows.h>

#include <functional>

#include "scan/FoundItemSink.h"
#include "scan/RulesScan.h"

// Scan modes; the same order is the cycle of the next mode after a clean.
enum : BYTE { MODE_STANDARD = 1, MODE_COOKIES_KILLER = 2, MODE_OFFLINE_TEMP = 3 };

// The mode that follows `mode` when a clean has emptied the list.
BYTE NextMode(BYTE mode);

// Hands the listable findings of `mode` to `sink` (files in use and
// protected folders are left out). A Cookies Killer scan that lists nothing
// gives way to Offline Temp. `starting` is told each mode as it begins.
// With `rules`, the Standard scan adds the matches of its entries after its
// own steps, and `report` hears of the rules refused on this machine and of
// the Standard scan's targets it leaves out.
// Returns the mode whose findings were listed.
BYTE RunModeScan(const CBriskoDoc& doc, BYTE mode, IFoundItemSink& sink,
                 const std::function<void(BYTE mode)>& starting = {}, const RulesFile* rules = nullptr,
                 IRuleReport* report = nullptr);
