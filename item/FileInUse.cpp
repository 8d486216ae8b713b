#include "item/FileInUse.h"

#include <windows.h>

#include "win/Handle.h"

bool IsFileInUse(const std::wstring& path) { return path.size() >= MAX_PATH || IsFileLocked(path); }

bool IsFileLocked(const std::wstring& apiPath) {
    // Sharing nothing, the open fails while any other handle reads, writes
    // or deletes the file; reading it is never asked for, so no time changes.
    win::FileHandle file(::CreateFileW(apiPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file.IsValid();
}
