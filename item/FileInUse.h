#pragma once
// Whether another process holds a file: a held file is never listed.
#include <string>

// True when the file cannot be opened for reading with no sharing (held by
// another process, missing, a folder) or its path has 260 characters or
// more. It asks for no write access: a read-only file nobody holds is free,
// and looking changes nothing.
bool IsFileInUse(const std::wstring& path);
// The same test for a path of any length (with the "\\?\" prefix where needed).
bool IsFileLocked(const std::wstring& apiPath);
