#pragma once
#include <string>

// Joins a base folder and a relative part with one backslash, except after a
// drive root of exactly three characters ("C:\"), where the two are simply
// concatenated. An empty base gives a path from the root of the current drive.
std::wstring JoinPath(const std::wstring& base, const std::wstring& relative);
