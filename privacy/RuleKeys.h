#pragma once
// The registry rows a rules entry lists (item/RegistryRow.h), removed
// through the key routines of the privacy cleaning: a key with all it
// holds, or one value alone. A row a rule may not touch stays, told.
#include <string>

#include "clean/RemovalReport.h"

// Cleans `row` when it is a registry row, and tells `report` what went or
// why it stays; false, touching nothing, for any other row. The Recycle Bin
// takes no key: a clean that is not `permanent` leaves it, told so.
bool CleanRegistryRuleRow(const std::wstring& row, bool permanent, IRemovalReport& report);
