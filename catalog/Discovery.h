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
