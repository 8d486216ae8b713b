#include "privacy/browsers/BrowserCleaning.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <set>

#include "clean/DeleteItem.h"
#include "policy/PolicyGuards.h"
#include "privacy/browsers/CheckedFiles.h"
#include "privacy/browsers/Layouts.h"
#include "privacy/browsers/ProfileLock.h"
#include "privacy/browsers/Sqlite.h"
#include "scan/RulesScan.h"
#include "win/Path.h"
#include "win/Text.h"

namespace browsers {

namespace {

// What the SQL functions of one profile's statements consult, and what they note.
struct StatementContext {
    const CKeepList& keep;
    std::vector<bool> keepUsed;       // by keep-list entry: a cookie was kept for it
    std::set<std::string> bookmarked;  // the URLs of the bookmarked pages
};

void KeptHost(sqlite3_context* context, int, sqlite3_value** values) {
    auto* statements = static_cast<StatementContext*>(sqlite3_user_data(context));
    const unsigned char* text = sqlite3_value_text(values[0]);
    std::string host = text ? reinterpret_cast<const char*>(text) : "";
    bool kept = !host.empty() && statements->keep.Keeps(host);
    if (kept) statements->keep.MarkKeepers(host, statements->keepUsed);
    sqlite3_result_int(context, kept ? 1 : 0);
}

void Bookmarked(sqlite3_context* context, int, sqlite3_value** values) {
    const auto* statements = static_cast<const StatementContext*>(sqlite3_user_data(context));
    const unsigned char* url = sqlite3_value_text(values[0]);
    sqlite3_result_int(context, url && statements->bookmarked.count(reinterpret_cast<const char*>(url)) ? 1 : 0);
}

void RegisterFunctions(CSqliteDb& db, StatementContext& statements) {
    db.Check(sqlite3_create_function_v2(db.Handle(), kKeptHostFunction, 1, SQLITE_UTF8, &statements, &KeptHost,
                                        nullptr, nullptr, nullptr),
             "register");
    db.Check(sqlite3_create_function_v2(db.Handle(), kBookmarkedFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                        &statements, &Bookmarked, nullptr, nullptr, nullptr),
             "register");
}

// One database and what the chosen kinds do in it.
struct DatabaseWork {
    std::wstring path;
    std::vector<const DatabaseTraces*> traces;
};

std::vector<DatabaseWork> DatabaseWorks(const BrowserProfile& profile, TraceKinds kinds) {
    std::vector<DatabaseWork> works;
    for (const DatabaseTraces& traces : LayoutOf(profile.family).databases) {
        if (!kinds.Has(traces.kind)) continue;
        auto file = std::find_if(traces.files.begin(), traces.files.end(), [&](const std::wstring& relative) {
            return FullPathExists(JoinPath(profile.folder, relative));
        });
        if (file == traces.files.end()) continue;
        std::wstring path = JoinPath(profile.folder, *file);
        auto work = std::find_if(works.begin(), works.end(), [&](const DatabaseWork& w) { return w.path == path; });
        if (work == works.end()) works.push_back({path, {&traces}});
        else work->traces.push_back(&traces);
    }
    return works;
}

bool Applies(CSqliteDb& db, const SqlStep& step) {
    return std::all_of(step.tables.begin(), step.tables.end(), [&](const std::string& t) { return db.HasTable(t); });
}

LeftItem LeftFor(const std::wstring& path, const SqliteError& error) {
    LeftWhy why = error.Code() == SQLITE_NOTADB   ? LeftWhy::NotADatabase
                  : error.Code() == SQLITE_CORRUPT ? LeftWhy::IntegrityFailed
                  : error.Code() == SQLITE_AUTH    ? LeftWhy::Unsafe  // the checked file layer refused a file
                                                   : LeftWhy::Failed;
    return {path, why, win::ToWide(error.what())};
}

// A database that is not to be opened at all: excluded by a policy, or it
// or a companion of it is a link or has more than one name.
std::optional<LeftItem> RefusedDatabase(const std::wstring& path, const PathExclusions& excluded) {
    if (excluded.Covers(path)) return LeftItem{path, LeftWhy::Excluded, LeftReasonText(LeftReason::Excluded)};
    if (std::optional<std::wstring> unsafe = UnsafeDatabaseFile(path))
        return LeftItem{path, LeftWhy::Unsafe, *unsafe};
    return std::nullopt;
}

// A database another process holds: it keeps the file from being opened,
// or holds SQLite's lock of it (the range every reader locks shared).
bool IsDatabaseHeld(const std::wstring& path) {
    win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError() != ERROR_FILE_NOT_FOUND && ::GetLastError() != ERROR_PATH_NOT_FOUND;
    constexpr DWORD kSharedFirst = 0x40000002, kSharedSize = 510;
    OVERLAPPED at{};
    at.Offset = kSharedFirst;
    if (!::LockFileEx(file.Get(), LOCKFILE_FAIL_IMMEDIATELY, 0, kSharedSize, 0, &at)) return true;
    ::UnlockFileEx(file.Get(), 0, kSharedSize, 0, &at);
    return false;
}

// The URLs of the bookmarked pages, read from the open database that holds
// them or else from a look at it.
std::set<std::string> ReadBookmarkedPages(const BrowserProfile& profile, CSqliteDb* open) {
    const BookmarkedPages& pages = LayoutOf(profile.family).bookmarkedPages;
    std::set<std::string> urls;
    if (pages.file.empty()) return urls;
    std::unique_ptr<CSqliteDb> look;
    if (!open) {
        std::wstring path = JoinPath(profile.folder, pages.file);
        if (!FullPathExists(path) || UnsafeDatabaseFile(path)) return urls;
        look = std::make_unique<CSqliteDb>(path, CSqliteDb::Mode::Look);
        open = look.get();
    }
    if (!std::all_of(pages.tables.begin(), pages.tables.end(), [&](const std::string& t) { return open->HasTable(t); }))
        return urls;
    CSqliteStatement statement(*open, pages.sql);
    while (statement.Step()) urls.insert(statement.Text(0));
    return urls;
}

// The browser has the database, or it cannot be written: the profile is in use.
bool MeansInUse(const SqliteError& error) {
    int code = error.Code();
    return code == SQLITE_BUSY || code == SQLITE_LOCKED || code == SQLITE_READONLY || code == SQLITE_CANTOPEN ||
           code == SQLITE_PERM;
}

std::wstring FileTracePath(const BrowserProfile& profile, const FileTraces& file) {
    const std::wstring& base = file.base == Base::Profile ? profile.folder
                               : file.base == Base::Cache ? profile.cacheFolder
                                                          : profile.userData;
    return base.empty() ? std::wstring() : JoinPath(base, file.relative);
}

// The bytes of a file, or of everything below a folder.
ULONGLONG ItemBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return FolderTreeBytes(path);
    return static_cast<ULONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// The entries of a removal that stay, with the removal's reasons.
class CLeftCollector : public IRemovalReport {
public:
    void Removing(const std::wstring&) override {}
    void Left(const std::wstring& path, LeftReason reason) override {
        if (!text.empty()) text += L"; ";
        text += path + L": " + LeftReasonText(reason);
    }
    std::wstring text;
};

void LookAtFiles(const BrowserProfile& profile, TraceKinds kinds, ProfileReport& report) {
    for (const FileTraces& file : LayoutOf(profile.family).files) {
        if (!kinds.Has(file.kind)) continue;
        KindCount& count = report.Of(file.kind);
        count.looked = true;
        std::wstring path = FileTracePath(profile, file);
        if (path.empty() || !FullPathExists(path) || !file.counted) continue;
        ++count.rows;
        count.bytes += ItemBytes(path);
    }
}

void RemoveFiles(const BrowserProfile& profile, TraceKinds kinds, ProfileReport& report) {
    for (const FileTraces& file : LayoutOf(profile.family).files) {
        if (!kinds.Has(file.kind)) continue;
        KindCount& count = report.Of(file.kind);
        count.looked = true;
        std::wstring path = FileTracePath(profile, file);
        if (path.empty() || !FullPathExists(path)) continue;
        ULONGLONG bytes = ItemBytes(path);
        CLeftCollector left;
        if (DeleteFoundItem(path, true, RemovalContext{GuardsUnderPolicy(), left}) && left.text.empty()) {
            if (!file.counted) continue;
            ++count.rows;
            count.bytes += bytes;
        } else {
            report.left.push_back({path, LeftWhy::ItemLeft, left.text});
        }
    }
}

// A database opened for the clean: written by this connection alone, checked, in its transaction.
struct OpenDatabase {
    const DatabaseWork* work;
    std::unique_ptr<CSqliteDb> db;
};

enum class OpenResult { Ready, Left, InUse };

OpenResult OpenForClean(const DatabaseWork& work, std::unique_ptr<CSqliteDb>& out, ProfileReport& report) {
    try {
        auto db = std::make_unique<CSqliteDb>(work.path, CSqliteDb::Mode::Change);
        // SQLite falls back to reading alone when the file cannot be written.
        if (sqlite3_db_readonly(db->Handle(), "main") != 0) return OpenResult::InUse;
        db->Exec("BEGIN EXCLUSIVE");
        std::string check = db->QueryText("PRAGMA integrity_check");
        if (check != "ok") {
            db->Exec("ROLLBACK");
            report.left.push_back({work.path, LeftWhy::IntegrityFailed, win::ToWide(check.substr(0, check.find('\n')))});
            return OpenResult::Left;
        }
        out = std::move(db);
        return OpenResult::Ready;
    } catch (const SqliteError& error) {
        if (MeansInUse(error)) return OpenResult::InUse;
        report.left.push_back(LeftFor(work.path, error));
        return OpenResult::Left;
    }
}

// Runs the kinds' statements and commits; the counts go to the report only
// once the transaction has committed. Every kind runs all its statements,
// even one another kind ran before: that one may have run before this
// kind's own deletions left more to clean up.
void CleanDatabase(OpenDatabase& open, StatementContext& statements, ProfileReport& report) {
    CSqliteDb& db = *open.db;
    std::array<KindCount, kTraceKinds> counts{};
    try {
        RegisterFunctions(db, statements);
        db.Exec("PRAGMA secure_delete = ON");
        for (const DatabaseTraces* traces : open.work->traces) {
            KindCount& count = counts[static_cast<int>(traces->kind)];
            count.looked = true;
            if (!traces->keptCount.empty() && db.HasTable(traces->steps.front().tables.front()))
                count.kept += db.QueryNumber(traces->keptCount);
            for (const SqlStep& step : traces->steps) {
                if (!Applies(db, step)) continue;
                db.Exec(step.sql);
                if (step.counted) count.rows += db.Changes();
            }
        }
        db.Exec("COMMIT");
    } catch (const SqliteError& error) {
        try { db.Exec("ROLLBACK"); } catch (const SqliteError&) {}  // closing rolls back all the same
        report.left.push_back(LeftFor(open.work->path, error));
        return;
    }
    for (int i = 0; i < kTraceKinds; ++i) {
        report.kinds[i].looked |= counts[i].looked;
        report.kinds[i].rows += counts[i].rows;
        report.kinds[i].kept += counts[i].kept;
    }
    try {
        // Secure deletion zeroes what was freed; the compaction drops the
        // freed pages, and the checkpoint empties a write-ahead log into it.
        db.Exec("VACUUM");
        if (db.QueryText("PRAGMA journal_mode") == "wal") db.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
    } catch (const SqliteError& error) {
        report.left.push_back({open.work->path, LeftWhy::Failed, L"not compacted: " + win::ToWide(error.what())});
    }
}

}  // namespace

bool IsProfileInUse(const BrowserProfile& profile) {
    if (IsProfileLockHeld(profile.lockFile)) return true;
    std::vector<DatabaseWork> works = DatabaseWorks(profile, TraceKinds::FromMask(0x3f));
    return std::any_of(works.begin(), works.end(), [](const DatabaseWork& work) {
        return !UnsafeDatabaseFile(work.path) && IsDatabaseHeld(work.path);
    });
}

ProfileReport ProfileState(const BrowserProfile& profile) {
    ProfileReport report;
    if (profile.outside) report.refused = Refusal::Outside;
    else if (GuardsUnderPolicy().excluded.Covers(profile.folder)) report.refused = Refusal::Excluded;
    else report.inUse = IsProfileInUse(profile);
    return report;
}

std::vector<std::string> UnmatchedKeepEntries(const CKeepList& keep, const std::vector<ProfileReport>& reports) {
    std::vector<std::string> unmatched;
    bool looked = std::any_of(reports.begin(), reports.end(),
                              [](const ProfileReport& r) { return r.Of(TraceKind::Cookies).looked; });
    if (!looked) return unmatched;
    for (size_t i = 0; i < keep.Hosts().size(); ++i) {
        bool used = std::any_of(reports.begin(), reports.end(), [&](const ProfileReport& r) {
            return i < r.keepUsed.size() && r.keepUsed[i];
        });
        if (!used) unmatched.push_back(keep.Hosts()[i]);
    }
    return unmatched;
}

std::vector<std::wstring> DatabaseFiles(const BrowserProfile& profile, TraceKinds kinds) {
    std::vector<std::wstring> files;
    for (const DatabaseWork& work : DatabaseWorks(profile, kinds)) files.push_back(work.path);
    return files;
}

namespace {

void AddCounts(ProfileReport& report, const std::array<KindCount, kTraceKinds>& counts) {
    for (int i = 0; i < kTraceKinds; ++i) {
        report.kinds[i].looked |= counts[i].looked;
        report.kinds[i].rows += counts[i].rows;
        report.kinds[i].kept += counts[i].kept;
    }
}

void LookAtDatabase(const DatabaseWork& work, StatementContext& statements, ProfileReport& report) {
    CSqliteDb db(work.path, CSqliteDb::Mode::Look);
    RegisterFunctions(db, statements);
    std::array<KindCount, kTraceKinds> counts{};
    for (const DatabaseTraces* traces : work.traces) {
        KindCount& count = counts[static_cast<int>(traces->kind)];
        count.looked = true;
        for (const SqlStep& query : traces->counts)
            if (Applies(db, query)) count.rows += db.QueryNumber(query.sql);
        if (!traces->keptCount.empty() && db.HasTable(traces->steps.front().tables.front()))
            count.kept += db.QueryNumber(traces->keptCount);
    }
    AddCounts(report, counts);
}

void MarkChosenLooked(TraceKinds kinds, ProfileReport& report) {
    for (TraceKind kind : kAllTraceKinds)
        if (kinds.Has(kind)) report.Of(kind).looked = true;
}

}  // namespace

ProfileReport PreviewProfile(const BrowserProfile& profile, TraceKinds kinds, const CKeepList& keep) {
    ProfileReport report = ProfileState(profile);
    if (!report.AllDone()) return report;
    const PathExclusions excluded = GuardsUnderPolicy().excluded;
    StatementContext statements{keep, std::vector<bool>(keep.Hosts().size()), {}};
    for (const DatabaseWork& work : DatabaseWorks(profile, kinds)) {
        if (std::optional<LeftItem> refused = RefusedDatabase(work.path, excluded)) {
            report.left.push_back(*refused);
            continue;
        }
        try {
            LookAtDatabase(work, statements, report);
        } catch (const SqliteError& error) {
            report.left.push_back(LeftFor(work.path, error));
        }
    }
    report.keepUsed = statements.keepUsed;
    LookAtFiles(profile, kinds, report);
    MarkChosenLooked(kinds, report);
    return report;
}

ProfileReport CleanProfile(const BrowserProfile& profile, TraceKinds kinds, const CKeepList& keep) {
    ProfileReport report = ProfileState(profile);
    if (report.refused != Refusal::None) return report;
    // The browser's own lock, taken (made where missing) and held to the
    // end: the browser cannot start in the middle.
    CProfileLock lock(profile.lockFile, CProfileLock::Missing::Make);
    if (lock.HeldElsewhere()) {
        report.inUse = true;
        return report;
    }
    report.inUse = false;
    const PathExclusions excluded = GuardsUnderPolicy().excluded;
    // Every database is opened, locked and checked before any changes: a
    // browser that holds one of them leaves the whole profile as it was.
    std::vector<DatabaseWork> works = DatabaseWorks(profile, kinds);
    std::vector<OpenDatabase> open;
    for (const DatabaseWork& work : works) {
        if (std::optional<LeftItem> refused = RefusedDatabase(work.path, excluded)) {
            report.left.push_back(*refused);
            continue;
        }
        std::unique_ptr<CSqliteDb> db;
        switch (OpenForClean(work, db, report)) {
        case OpenResult::Ready:
            open.push_back({&work, std::move(db)});
            break;
        case OpenResult::Left:
            break;
        case OpenResult::InUse:
            report = ProfileReport{};
            report.inUse = true;
            return report;  // closing the others rolls back their untouched transactions
        }
    }
    StatementContext statements{keep, std::vector<bool>(keep.Hosts().size()), {}};
    try {
        const std::wstring pages = LayoutOf(profile.family).bookmarkedPages.file;
        auto holder = std::find_if(open.begin(), open.end(), [&](const OpenDatabase& o) {
            return !pages.empty() && SamePathText(o.work->path, JoinPath(profile.folder, pages));
        });
        statements.bookmarked = ReadBookmarkedPages(profile, holder == open.end() ? nullptr : holder->db.get());
    } catch (const SqliteError&) {
        // The bookmarks cannot be read (their database is left and told): their icons go with the rest.
    }
    for (OpenDatabase& database : open) {
        CleanDatabase(database, statements, report);
        database.db.reset();
    }
    report.keepUsed = statements.keepUsed;
    RemoveFiles(profile, kinds, report);
    MarkChosenLooked(kinds, report);
    return report;
}

namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && _wcsicmp(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

// The cookie traces of the layout whose cookie database bears this file name.
const DatabaseTraces* CookieTracesNamed(const std::wstring& name) {
    for (BrowserFamily family : {BrowserFamily::Chromium, BrowserFamily::Firefox})
        for (const DatabaseTraces& traces : LayoutOf(family).databases) {
            if (traces.kind != TraceKind::Cookies) continue;
            for (const std::wstring& file : traces.files)
                if (_wcsicmp(file.substr(file.rfind(L'\\') + 1).c_str(), name.c_str()) == 0) return &traces;
        }
    return nullptr;
}

}  // namespace

namespace {

// The database a path of Cookies Killer stands for (a companion for its
// database), with its layout's cookie traces; no traces when it is none
// this cleaning knows. A database that may not be opened is taken as known.
struct KnownCookieDatabase {
    std::wstring path;
    const DatabaseTraces* traces = nullptr;
    std::optional<LeftItem> refused;
};

KnownCookieDatabase FindCookieDatabase(const std::wstring& path) {
    KnownCookieDatabase known{path};
    for (const wchar_t* companion : {L"-wal", L"-shm", L"-journal"})
        if (EndsWithNoCase(known.path, companion)) known.path.resize(known.path.size() - wcslen(companion));
    const DatabaseTraces* traces = CookieTracesNamed(known.path.substr(known.path.rfind(L'\\') + 1));
    if (!traces || !FullPathExists(known.path)) return known;
    known.refused = RefusedDatabase(known.path, GuardsUnderPolicy().excluded);
    if (known.refused) {
        known.traces = traces;
        return known;
    }
    try {
        CSqliteDb look(known.path, CSqliteDb::Mode::Look);
        if (look.HasTable(traces->steps.front().tables.front())) known.traces = traces;
    } catch (const SqliteError&) {
        // No SQLite database: not one this cleaning knows.
    }
    return known;
}

}  // namespace

bool IsKnownCookieDatabase(const std::wstring& path) { return FindCookieDatabase(path).traces != nullptr; }

CookieDatabaseOutcome CleanCookieDatabase(const std::wstring& path, const CKeepList& keep) {
    CookieDatabaseOutcome outcome;
    KnownCookieDatabase known = FindCookieDatabase(path);
    if (!known.traces) return outcome;
    outcome.understood = true;
    if (known.refused) {
        outcome.left.push_back(*known.refused);
        return outcome;
    }
    const std::wstring& database = known.path;
    const DatabaseTraces* traces = known.traces;
    ProfileReport report;
    DatabaseWork work{database, {traces}};
    std::unique_ptr<CSqliteDb> db;
    switch (OpenForClean(work, db, report)) {
    case OpenResult::InUse:
        outcome.inUse = true;
        return outcome;
    case OpenResult::Left:
        outcome.left = report.left;
        return outcome;
    case OpenResult::Ready:
        break;
    }
    OpenDatabase open{&work, std::move(db)};
    StatementContext statements{keep, std::vector<bool>(keep.Hosts().size()), {}};
    CleanDatabase(open, statements, report);
    outcome.removed = report.Of(TraceKind::Cookies).rows;
    outcome.kept = report.Of(TraceKind::Cookies).kept;
    outcome.left = report.left;
    return outcome;
}

}  // namespace browsers
