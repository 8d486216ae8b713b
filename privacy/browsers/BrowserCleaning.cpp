#include "privacy/browsers/BrowserCleaning.h"

#include <algorithm>
#include <memory>
#include <set>

#include "clean/DeleteItem.h"
#include "clean/Links.h"
#include "privacy/browsers/Layouts.h"
#include "privacy/browsers/ProfileLock.h"
#include "privacy/browsers/Sqlite.h"
#include "scan/RulesScan.h"
#include "win/Path.h"
#include "win/Text.h"

namespace browsers {

namespace {

void KeptHost(sqlite3_context* context, int, sqlite3_value** values) {
    const auto* keep = static_cast<const CKeepList*>(sqlite3_user_data(context));
    const unsigned char* host = sqlite3_value_text(values[0]);
    sqlite3_result_int(context, host && keep->Keeps(reinterpret_cast<const char*>(host)) ? 1 : 0);
}

void RegisterKeepList(CSqliteDb& db, const CKeepList& keep) {
    db.Check(sqlite3_create_function_v2(db.Handle(), kKeptHostFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                        const_cast<CKeepList*>(&keep), &KeptHost, nullptr, nullptr, nullptr),
             "register");
}

// One database and what the chosen kinds do in it.
struct DatabaseWork {
    std::wstring path;
    std::vector<const DatabaseTraces*> traces;
    bool link = false;  // a link, or behind one: SQLite would change whatever it leads to
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
        if (work == works.end()) works.push_back({path, {&traces}, IsLinkPath(path)});
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
                                                   : LeftWhy::Failed;
    return {path, why, win::ToWide(error.what())};
}

LeftItem LinkLeft(const std::wstring& path) { return {path, LeftWhy::ItemLeft, LeftReasonText(LeftReason::Link)}; }

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
        if (path.empty() || !FullPathExists(path)) continue;
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
// once the transaction has committed.
void CleanDatabase(OpenDatabase& open, const CKeepList& keep, ProfileReport& report) {
    CSqliteDb& db = *open.db;
    std::array<KindCount, kTraceKinds> counts{};
    try {
        RegisterKeepList(db, keep);
        db.Exec("PRAGMA secure_delete = ON");
        std::set<std::string> done;
        for (const DatabaseTraces* traces : open.work->traces) {
            KindCount& count = counts[static_cast<int>(traces->kind)];
            count.looked = true;
            if (!traces->keptCount.empty() && db.HasTable(traces->steps.front().tables.front()))
                count.kept += db.QueryNumber(traces->keptCount);
            for (const SqlStep& step : traces->steps) {
                if (!done.insert(step.sql).second || !Applies(db, step)) continue;
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

bool IsProfileInUse(const BrowserProfile& profile) { return IsProfileLockHeld(profile.lockFile); }

std::vector<std::wstring> DatabaseFiles(const BrowserProfile& profile, TraceKinds kinds) {
    std::vector<std::wstring> files;
    for (const DatabaseWork& work : DatabaseWorks(profile, kinds)) files.push_back(work.path);
    return files;
}

ProfileReport PreviewProfile(const BrowserProfile& profile, TraceKinds kinds, const CKeepList& keep) {
    ProfileReport report;
    if (IsProfileInUse(profile)) {
        report.inUse = true;
        return report;
    }
    for (const DatabaseWork& work : DatabaseWorks(profile, kinds)) {
        if (work.link) {
            report.left.push_back(LinkLeft(work.path));
            continue;
        }
        try {
            CSqliteDb db(work.path, CSqliteDb::Mode::Look);
            RegisterKeepList(db, keep);
            std::array<KindCount, kTraceKinds> counts{};
            for (const DatabaseTraces* traces : work.traces) {
                KindCount& count = counts[static_cast<int>(traces->kind)];
                count.looked = true;
                for (const SqlStep& query : traces->counts)
                    if (Applies(db, query)) count.rows += db.QueryNumber(query.sql);
                if (!traces->keptCount.empty() && db.HasTable(traces->steps.front().tables.front()))
                    count.kept += db.QueryNumber(traces->keptCount);
            }
            for (int i = 0; i < kTraceKinds; ++i) {
                report.kinds[i].looked |= counts[i].looked;
                report.kinds[i].rows += counts[i].rows;
                report.kinds[i].kept += counts[i].kept;
            }
        } catch (const SqliteError& error) {
            report.left.push_back(LeftFor(work.path, error));
        }
    }
    LookAtFiles(profile, kinds, report);
    for (TraceKind kind : kAllTraceKinds)
        if (kinds.Has(kind)) report.Of(kind).looked = true;
    return report;
}

ProfileReport CleanProfile(const BrowserProfile& profile, TraceKinds kinds, const CKeepList& keep) {
    ProfileReport report;
    CProfileLock lock(profile.lockFile);
    if (lock.HeldElsewhere()) {
        report.inUse = true;
        return report;
    }
    // Every database is opened, locked and checked before any changes: a
    // browser that holds one of them leaves the whole profile as it was.
    std::vector<DatabaseWork> works = DatabaseWorks(profile, kinds);
    std::vector<OpenDatabase> open;
    for (const DatabaseWork& work : works) {
        if (work.link) {
            report.left.push_back(LinkLeft(work.path));
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
    for (OpenDatabase& database : open) {
        CleanDatabase(database, keep, report);
        database.db.reset();
    }
    RemoveFiles(profile, kinds, report);
    for (TraceKind kind : kAllTraceKinds)
        if (kinds.Has(kind)) report.Of(kind).looked = true;
    return report;
}

}  // namespace browsers
