#pragma once
// The --include and --exclude patterns of the command line.
#include <string>
#include <vector>

#include "win/Text.h"

using win::WildcardMatch;

// A pattern with a backslash (or slash) is matched against the whole path,
// any other against the item's own name.
bool GlobMatchesPath(const std::wstring& glob, const std::wstring& path);

// True when the path passes: it matches one of `include` (or none is given)
// and none of `exclude`.
bool PassesFilters(const std::wstring& path, const std::vector<std::wstring>& include,
                   const std::vector<std::wstring>& exclude);
