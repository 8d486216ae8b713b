// A database the cleaner changes is held in SQLite's exclusive locking mode:
// from its first read no other connection (the browser's included) may
// write it, from its first change none may read it, and at its close both
// may again.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "privacy/browsers/Sqlite.h"
#include "support/TestSupport.h"
#include "win/Text.h"

using namespace testing_support;

namespace {

// What another connection meets when it runs `sql` on the database.
int Other(const std::wstring& path, const char* sql) {
    sqlite3* db = nullptr;
    int result = sqlite3_open(win::ToNarrow(path, CP_UTF8).c_str(), &db);
    if (result == SQLITE_OK) result = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return result & 0xff;
}

constexpr const char* kRead = "SELECT count(*) FROM t";
constexpr const char* kWrite = "INSERT INTO t VALUES(2)";

}  // namespace

TEST(SqliteLock, AChangedDatabaseKeepsOthersOutFromItsFirstReadToItsClose) {
    ScratchFolder folder(L"sqlite-lock");
    const std::wstring path = folder / L"History";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(win::ToNarrow(path, CP_UTF8).c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES(1)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    {
        browsers::CSqliteDb cleaning(path, browsers::CSqliteDb::Mode::Change);
        EXPECT_EQ(cleaning.QueryNumber(kRead), 1);
        EXPECT_EQ(Other(path, kWrite), SQLITE_BUSY) << "a write after the first read";
        cleaning.Exec("DELETE FROM t");
        EXPECT_EQ(Other(path, kRead), SQLITE_BUSY) << "a read after a change";
    }
    EXPECT_EQ(Other(path, kWrite), SQLITE_OK) << "a write after the close";
    EXPECT_EQ(Other(path, kRead), SQLITE_OK) << "a read after the close";
}
