#pragma once
// Telling links from the files and folders they stand for. A link is never
// descended into and never removed: on Windows a junction carries the
// directory attribute too, and under Wine every removal call and the shell
// remove a link's target instead of the link.
#include <windows.h>
#include <string>

#include "win/Path.h"

// The path the platform reports for the opened entry, without following a
// link of the last component where the platform can; empty when it cannot be opened.
std::wstring FinalPathOf(const std::wstring& path);

// True when the entry `find` of `folder` (whose final path is `folderFinalPath`)
// is a link of any kind, or when that cannot be told.
bool IsLinkEntry(const std::wstring& folder, const std::wstring& folderFinalPath, const WIN32_FIND_DATAW& find);

// True when the platform places `path` somewhere else than its own spelling
// says: the path passes through a link on its way.
bool PathRunsThroughLink(const std::wstring& path);

// True when `path` is a link, is reached through one, or cannot be told;
// false when it is missing.
bool IsLinkPath(const std::wstring& path);

// True when a link lies anywhere in the tree below `folder`.
bool TreeHoldsLink(const std::wstring& folder);
