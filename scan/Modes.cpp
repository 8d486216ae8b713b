#include "scan/Modes.h"

#include "scan/Listing.h"
#include "scan/Scans.h"

BYTE NextMode(BYTE mode) { return mode == MODE_OFFLINE_TEMP ? BYTE{MODE_STANDARD} : static_cast<BYTE>(mode + 1); }

BYTE RunModeScan(const CBriskoDoc& doc, BYTE mode, IFoundItemSink& sink, const std::function<void(BYTE)>& starting,
                 const RulesFile* rules, IRuleReport* report) {
    if (starting) starting(mode);
    CListingFilter listed(sink);
    switch (mode) {
    case MODE_COOKIES_KILLER:
        RunCookiesScan(doc, listed);
        if (listed.Count() == 0) return RunModeScan(doc, MODE_OFFLINE_TEMP, sink, starting);
        return mode;
    case MODE_OFFLINE_TEMP:
        RunOfflineTempScan(doc, listed);
        return mode;
    default:
        RunStandardScan(doc, listed, report);
        if (rules) RunRulesScan(doc, *rules, listed, report);
        return MODE_STANDARD;
    }
}
