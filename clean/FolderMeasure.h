#pragma once
// What a folder item holds, measured before it is cleaned: the walk a clean
// takes, reading only. Each folder is held as a removal holds it, from its
// volume's root and checked on its handle, but opened for listing alone;
// files are counted from their folder's listing and never opened, so no
// attribute or time of anything changes. A link counts as one item of no
// bytes and is never followed; what the guards keep (protected folders,
// what a policy excludes) is not counted, since no clean takes it.
#include <atomic>
#include <optional>
#include <string>

#include "item/Guards.h"
#include "scan/FoundItems.h"

// What lies below `folder` (any spelling) that a clean of it would take.
// Nothing inside when the folder itself is no folder to enter (gone, a link,
// protected or excluded). No answer when `stop` was set before the end.
std::optional<FolderContents> MeasureFolder(const std::wstring& folder, const RemovalGuards& guards,
                                            const std::atomic<bool>* stop = nullptr);

// Measures every folder row of `items` not measured yet, on the calling
// thread, with this machine's guards under the policies in force.
void MeasureFolderRows(FoundItems& items);
