#pragma once
// The pieces of folder discovery that stand on their own.
#include <string>

// Removes the last `count` components: everything from the last backslash on,
// `count` times; when no backslash is left, the result is empty.
std::wstring CutLastComponents(std::wstring path, int count);

// The Firefox profile folder: the "Path" of the first profile in the folder's
// profiles.ini, taken as relative to the folder, with "/" turned into "\".
// A missing or empty value, or one that climbs out of the folder, gives ".".
std::wstring ReadFirefoxProfilePath(const std::wstring& firefoxFolder);

// True when some step of a relative path climbs ("..", or only dots).
bool ClimbsOut(const std::wstring& relative);

// Appends to `path` the name of the first entry (not "." or "..") that matches
// `pattern`. When none does, the pattern itself is appended: its wildcard
// makes a name that can never exist, so nothing below the path is found.
void AppendFirstMatch(std::wstring& path, const std::wstring& pattern);
