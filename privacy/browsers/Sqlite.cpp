#include "privacy/browsers/Sqlite.h"

#include <windows.h>

#include "privacy/browsers/CheckedFiles.h"
#include "win/Text.h"

namespace browsers {

namespace {

// SQLite takes file names as UTF-8 URIs; "%", "?" and "#" have meanings there.
std::string FileUri(const std::wstring& path) {
    std::string utf8 = win::ToNarrow(path, CP_UTF8), uri = "file:";
    for (char c : utf8) {
        if (c == '\\') uri += '/';
        else if (c == '%' || c == '?' || c == '#') {
            static const char hex[] = "0123456789ABCDEF";
            uri += '%';
            uri += hex[(c >> 4) & 0xf];
            uri += hex[c & 0xf];
        } else uri += c;
    }
    return uri;
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

CSqliteDb::CSqliteDb(const std::wstring& path, Mode mode) {
    std::string uri = FileUri(path);
    int flags = SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::Change) {
        flags |= SQLITE_OPEN_READWRITE;
    } else {
        flags |= SQLITE_OPEN_READONLY;
        // Read-only SQLite still makes a database's -wal and -shm files when
        // they are missing; told the file cannot change, it makes none. A
        // -wal that is there may hold rows, so then it is read as usual.
        uri += FileExists(path + L"-wal") ? "?mode=ro" : "?immutable=1";
    }
    int result = sqlite3_open_v2(uri.c_str(), &m_db, flags, mode == Mode::Change ? CheckedVfsName() : nullptr);
    if (result != SQLITE_OK) {
        std::string why = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(result);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw SqliteError(result, "cannot open: " + why);
    }
    sqlite3_extended_result_codes(m_db, 1);
    // Held from the first read to the close, and a write-ahead log's index
    // kept in memory: no -shm file is opened, the browser cannot come in
    // between two statements.
    if (mode != Mode::Change) return;
    try {
        Exec("PRAGMA locking_mode = EXCLUSIVE");
    } catch (const SqliteError&) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

CSqliteDb::~CSqliteDb() { sqlite3_close_v2(m_db); }

void CSqliteDb::Check(int result, const char* doing) const {
    if (result == SQLITE_OK || result == SQLITE_DONE || result == SQLITE_ROW) return;
    throw SqliteError(result, std::string(doing) + ": " + sqlite3_errmsg(m_db));
}

void CSqliteDb::Exec(const std::string& sql) {
    char* message = nullptr;
    int result = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message);
    if (result != SQLITE_OK) {
        std::string why = message ? message : sqlite3_errstr(result);
        sqlite3_free(message);
        throw SqliteError(result, why);
    }
}

long long CSqliteDb::QueryNumber(const std::string& sql) {
    CSqliteStatement statement(*this, sql);
    return statement.Step() ? statement.Number(0) : 0;
}

std::string CSqliteDb::QueryText(const std::string& sql) {
    CSqliteStatement statement(*this, sql);
    std::string text;
    while (statement.Step()) {
        if (!text.empty()) text += '\n';
        text += statement.Text(0);
    }
    return text;
}

bool CSqliteDb::HasTable(const std::string& table) {
    CSqliteStatement statement(*this, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1");
    statement.Bind(1, table);
    return statement.Step();
}

CSqliteStatement::CSqliteStatement(CSqliteDb& db, const std::string& sql) : m_db(db) {
    db.Check(sqlite3_prepare_v2(db.Handle(), sql.c_str(), -1, &m_statement, nullptr), "prepare");
}

bool CSqliteStatement::Step() {
    int result = sqlite3_step(m_statement);
    m_db.Check(result, "step");
    return result == SQLITE_ROW;
}

std::string CSqliteStatement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(m_statement, column);
    return text ? reinterpret_cast<const char*>(text) : std::string();
}

void CSqliteStatement::Bind(int index, const std::string& text) {
    m_db.Check(sqlite3_bind_text(m_statement, index, text.c_str(), -1, SQLITE_TRANSIENT), "bind");
}

}  // namespace browsers
