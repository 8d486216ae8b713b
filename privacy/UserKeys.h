#pragma once
// Removal of whole registry key trees of the current user; a rules entry's
// keys of the machine (below Software only, privacy/RuleKeys.h) go through
// the same path guard.
#include <windows.h>

#include <string>

#include "catalog/BriskoDoc.h"

// The counter of the history routines: one step per action.
class IHistoryProgress {
public:
    virtual ~IHistoryProgress() = default;
    virtual void Advance(int steps) = 0;
};

// `key` as a path below `base` (both below HKEY_CURRENT_USER), with empty
// steps dropped; nothing when the key names no key of its own: empty, only
// backslashes, or with a "." or ".." step. Deleting such a path would take
// `base`, or all of HKEY_CURRENT_USER, with it.
std::wstring UserKeyPath(const std::wstring& base, const std::wstring& key);

// Deletes HKEY_CURRENT_USER\`base`\`key` with all its subkeys and values.
// True when it was deleted; a missing key, a key the user may not delete or
// an unsafe path (see UserKeyPath) stay as they are.
bool DeleteUserKey(const std::wstring& base, const std::wstring& key);
// The same below `root`.
bool DeleteKeyTree(HKEY root, const std::wstring& base, const std::wstring& key);

// Deletes each key of a private copy of `keys`, front to back, and advances
// the counter by one for each, whether or not it was there.
void DeleteRegistryTree(CTargetList keys, const std::wstring& base, IHistoryProgress& progress);
