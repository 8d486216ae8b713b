#pragma once
// A database is written only where it lies in its profile: never a file
// with more than one name (a hard link shares its bytes with a file
// elsewhere) nor one that is a link or lies behind one, neither the database
// nor its -wal, -journal or -shm companion.
#include <optional>
#include <string>

namespace browsers {

// The first of the database and its companions that is a link, lies behind
// one or has more than one name; none when all are plain (or missing).
std::optional<std::wstring> UnsafeDatabaseFile(const std::wstring& database);

// The name of the SQLite file layer that checks every database, journal and
// write-ahead log it opens through the opened file's own handle, before a
// byte is written: a link or a file of many names is refused (SQLITE_AUTH).
const char* CheckedVfsName();

}  // namespace browsers
