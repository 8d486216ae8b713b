#pragma once
// Telling links from the files and folders they stand for. A link is never
// descended into and never removed: on Windows a junction carries the
// directory attribute too, and under Wine every removal call and the shell
// remove a link's target instead of the link.
#include <windows.h>
#include <string>

#include "item/ItemPath.h"
#include "win/HandleNames.h"
#include "win/Path.h"

// The path the platform reports for the opened entry at a canonical path,
// without following a link of the last step where the platform can; empty
// when it cannot be opened.
std::wstring FinalPathOf(const std::wstring& canonicalPath);

// True when the entry `find` of the canonical `folder` (whose final path is
// `folderFinalPath`) is a link of any kind, or when that cannot be told.
bool IsLinkEntry(const std::wstring& folder, const std::wstring& folderFinalPath, const WIN32_FIND_DATAW& find);

// True when the item is a link, lies behind one, or that cannot be told:
// the platform places it somewhere else than its canonical path says. A
// missing item is no link.
bool IsLinkOrBehindLink(const CanonicalItem& item);

// IsLinkOrBehindLink for any spelling; a spelling that cannot be resolved
// counts as a link, a missing path does not.
bool IsLinkPath(const std::wstring& path);
