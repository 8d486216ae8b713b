#pragma once
// A thin owner of one SQLite connection and its statements. Every failure
// throws SqliteError with SQLite's own words, so a caller that cleans one
// database catches once and reports why that database was left.
#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace browsers {

class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& what) : std::runtime_error(what), m_code(code) {}
    // SQLite's primary result code (SQLITE_BUSY, SQLITE_NOTADB, ...).
    int Code() const { return m_code & 0xff; }

private:
    int m_code;
};

class CSqliteDb {
public:
    enum class Mode {
        Look,   // read only; takes no lock and makes no -wal or -shm file when none is there
        Change  // read and write an existing file; never creates one; held
                // exclusively until closed; every file written is checked
                // to be a plain file of one name (CheckedFiles.h)
    };
    CSqliteDb(const std::wstring& path, Mode mode);
    CSqliteDb(const CSqliteDb&) = delete;
    CSqliteDb& operator=(const CSqliteDb&) = delete;
    ~CSqliteDb();

    sqlite3* Handle() const { return m_db; }
    // Runs one or more statements that return nothing wanted.
    void Exec(const std::string& sql);
    // The first column of the first row as a number (0 without a row).
    long long QueryNumber(const std::string& sql);
    // The first column of every row, joined by new lines.
    std::string QueryText(const std::string& sql);
    bool HasTable(const std::string& table);
    // Rows the last statement changed.
    long long Changes() const { return sqlite3_changes64(m_db); }

    // Throws SqliteError for a result code that is no success.
    void Check(int result, const char* doing) const;

private:
    sqlite3* m_db = nullptr;
};

// A prepared statement, finalised at the end of its scope.
class CSqliteStatement {
public:
    CSqliteStatement(CSqliteDb& db, const std::string& sql);
    CSqliteStatement(const CSqliteStatement&) = delete;
    CSqliteStatement& operator=(const CSqliteStatement&) = delete;
    ~CSqliteStatement() { sqlite3_finalize(m_statement); }
    // The next row: true while there is one.
    bool Step();
    long long Number(int column) const { return sqlite3_column_int64(m_statement, column); }
    std::string Text(int column) const;
    void Bind(int index, const std::string& text);

private:
    CSqliteDb& m_db;
    sqlite3_stmt* m_statement = nullptr;
};

}  // namespace browsers
