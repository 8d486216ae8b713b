#pragma once
// A folder listed, and its entries opened, through the folder's own open
// handle. Under Wine every call by path resolves each folder above the item
// anew; a call relative to an open handle does not, and it reaches the very
// folder that was opened, whatever has been renamed above it since.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "win/Handle.h"

// Opens the folder at a canonical path to list its entries and open them,
// without following a link of its own; others' access is shared.
win::FileHandle OpenFolderToList(const std::wstring& canonicalPath);

// A folder reached by its plain spelling, opened to be listed.
struct FolderAsSpelled {
    win::FileHandle handle;
    std::wstring canonical;  // the platform's final path, without the "\\?\" prefix
};

// Opens the folder at `spelling` to be listed when one open shows that the
// spelling leads straight to it: a plain full path whose final path reads
// the same (so no folder on the way is a link, and none was reached by
// another name), and a folder that is no reparse point itself. Nothing
// otherwise, missing folders included: such a spelling must be resolved
// step by step.
std::optional<FolderAsSpelled> OpenFolderAsSpelled(const std::wstring& spelling);

// Opens the entry `name` of the open folder relative to its handle, never
// through a link of its own: `share` is what others may do meanwhile,
// `disposition` and `options` as the system's create call takes them.
// Answers the system's status (negative on failure).
LONG OpenEntryOfFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG disposition,
                       ULONG options, win::FileHandle& opened);

// Each record of the open folder but "." and "..", as the folder lists it.
void VisitFolderRecords(HANDLE folder, const std::function<void(const FILE_ID_BOTH_DIR_INFO&)>& visit);

// A record in the form a directory search gives it (a reparse point's tag
// in dwReserved0).
WIN32_FIND_DATAW FindDataOf(const FILE_ID_BOTH_DIR_INFO& record);

// The open folder's own entry as a directory search of its parent would give
// it, named `name`; false when the platform tells nothing of it.
bool FolderFindData(HANDLE folder, const std::wstring& name, WIN32_FIND_DATAW& data);
