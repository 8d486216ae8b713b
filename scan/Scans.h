#pragma once
// The three scans over the catalogue. Each visits its targets in a fixed
// order and hands every match to `sink`; none deletes anything. The machine
// is asked through the catalogue's System() when the scan runs.
#include "catalog/BriskoDoc.h"
#include "scan/FoundItemSink.h"

class IRuleReport;

void RunStandardScan(const CBriskoDoc& doc, IFoundItemSink& sink);
// The same; `report` hears once of each target the scan leaves out on this
// machine, and why.
void RunStandardScan(const CBriskoDoc& doc, IFoundItemSink& sink, IRuleReport* report);
void RunCookiesScan(const CBriskoDoc& doc, IFoundItemSink& sink);
void RunOfflineTempScan(const CBriskoDoc& doc, IFoundItemSink& sink);
