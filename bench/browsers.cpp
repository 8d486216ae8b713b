// A Chrome profile of 100,000 visits and 10,000 cookies (sizes may be given)
// previewed and cleaned by the program, against the same SQL statements run
// by bare SQLite calls on a copy: the floor.
#include <windows.h>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "Timing.h"
#include "privacy/browsers/BrowserCleaning.h"
#include "privacy/browsers/Layouts.h"
#include "win/Text.h"

using namespace browsers;

namespace {

const std::wstring kTree = L"C:\\brisko-browsers-bench";
const std::wstring kProfile = kTree + L"\\local\\Google\\Chrome\\User Data\\Default";
const std::wstring kSeed = kTree + L"\\seed";
const std::wstring kFloor = kTree + L"\\floor";
const wchar_t* const kFiles[] = {L"History", L"Network\\Cookies", L"Web Data"};
constexpr int kRuns = 5;

void MakeFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
}

sqlite3* Open(const std::wstring& path, int flags, const char* query = "") {
    sqlite3* db = nullptr;
    std::string uri = "file:" + win::ToNarrow(path, CP_UTF8) + query;
    if (sqlite3_open_v2(uri.c_str(), &db, flags | SQLITE_OPEN_URI, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", uri.c_str());
        std::exit(1);
    }
    return db;
}

void Exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql.c_str(), error ? error : "?");
        std::exit(1);
    }
}

// Every row of a query stepped through, as the program's queries are.
long long Rows(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    long long first = 0;
    bool any = false;
    while (sqlite3_step(statement) == SQLITE_ROW)
        if (!any) first = sqlite3_column_int64(statement, 0), any = true;
    sqlite3_finalize(statement);
    return first;
}

void Seed(int visits, int cookies) {
    MakeFolders(kSeed + L"\\Network");
    int urls = std::max(1, visits / 5);
    sqlite3* db = Open(kSeed + L"\\History", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    Exec(db, "BEGIN;"
             "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
             "CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT, url LONGVARCHAR, title LONGVARCHAR,"
             " visit_count INTEGER DEFAULT 0 NOT NULL, typed_count INTEGER DEFAULT 0 NOT NULL,"
             " last_visit_time INTEGER NOT NULL, hidden INTEGER DEFAULT 0 NOT NULL);"
             "CREATE INDEX urls_url_index ON urls (url);"
             "CREATE TABLE visits(id INTEGER PRIMARY KEY AUTOINCREMENT, url INTEGER NOT NULL, visit_time INTEGER NOT NULL,"
             " from_visit INTEGER, transition INTEGER DEFAULT 0 NOT NULL, segment_id INTEGER,"
             " visit_duration INTEGER DEFAULT 0 NOT NULL);"
             "CREATE INDEX visits_url_index ON visits (url);"
             "CREATE INDEX visits_time_index ON visits (visit_time);"
             "CREATE TABLE keyword_search_terms(keyword_id INTEGER NOT NULL, url_id INTEGER NOT NULL,"
             " term LONGVARCHAR NOT NULL, normalized_term LONGVARCHAR NOT NULL);"
             "CREATE TABLE segments(id INTEGER PRIMARY KEY, name VARCHAR, url_id INTEGER NON NULL);"
             "CREATE TABLE segment_usage(id INTEGER PRIMARY KEY, segment_id INTEGER NOT NULL, time_slot INTEGER NOT NULL,"
             " visit_count INTEGER DEFAULT 0 NOT NULL);"
             "CREATE TABLE downloads(id INTEGER PRIMARY KEY, guid VARCHAR NOT NULL, current_path LONGVARCHAR NOT NULL,"
             " target_path LONGVARCHAR NOT NULL, start_time INTEGER NOT NULL, received_bytes INTEGER NOT NULL,"
             " total_bytes INTEGER NOT NULL, state INTEGER NOT NULL, tab_url VARCHAR NOT NULL);"
             "CREATE TABLE downloads_url_chains(id INTEGER NOT NULL, chain_index INTEGER NOT NULL, url LONGVARCHAR NOT NULL,"
             " PRIMARY KEY (id, chain_index));"
             "INSERT INTO meta VALUES('version','67');");
    Exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(urls) +
                 ") INSERT INTO urls SELECT i, 'https://site' || (i % 997) || '.example/page/' || i, 'Page ' || i,"
                 " 5, i % 3, 13300000000000000 + i, 0 FROM n;");
    Exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(visits) +
                 ") INSERT INTO visits SELECT i, 1 + i % " + std::to_string(urls) +
                 ", 13300000000000000 + i, 0, 805306368, 0, 1000 FROM n;");
    Exec(db, "INSERT INTO keyword_search_terms SELECT 2, id, 'term ' || id, 'term ' || id FROM urls WHERE id % 10 = 0;"
             "INSERT INTO segments SELECT id, 'http://site' || id || '.example/', id FROM urls WHERE id <= 1000;"
             "INSERT INTO segment_usage SELECT id, id, 13300000000000000, 3 FROM segments;"
             "INSERT INTO downloads SELECT id, 'G' || id, 'C:\\dl\\f' || id, 'C:\\dl\\f' || id, 1, 10, 10, 1,"
             " 'https://dl.example/' || id FROM urls WHERE id <= 500;"
             "INSERT INTO downloads_url_chains SELECT id, 0, 'https://dl.example/f' || id FROM downloads;"
             "COMMIT;");
    sqlite3_close(db);

    db = Open(kSeed + L"\\Network\\Cookies", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    Exec(db, "BEGIN;"
             "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
             "CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, top_frame_site_key TEXT NOT NULL,"
             " name TEXT NOT NULL, value TEXT NOT NULL, encrypted_value BLOB NOT NULL, path TEXT NOT NULL,"
             " expires_utc INTEGER NOT NULL, is_secure INTEGER NOT NULL, is_httponly INTEGER NOT NULL,"
             " last_access_utc INTEGER NOT NULL, UNIQUE (host_key, top_frame_site_key, name, path));");
    // One cookie in ten belongs to a kept site or one of its subdomains.
    Exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(cookies) +
                 ") INSERT INTO cookies SELECT i, CASE WHEN i % 10 = 0 THEN (CASE WHEN i % 20 = 0 THEN '.kept.example'"
                 " ELSE 'www.kept.example' END) ELSE '.site' || (i % 500) || '.example' END, '', 'c' || i,"
                 " hex(randomblob(16)), x'', '/', 0, 1, 1, i FROM n; COMMIT;");
    sqlite3_close(db);

    db = Open(kSeed + L"\\Web Data", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    Exec(db, "BEGIN; CREATE TABLE autofill(name VARCHAR, value VARCHAR, value_lower VARCHAR, date_created INTEGER DEFAULT 0,"
             " date_last_used INTEGER DEFAULT 0, count INTEGER DEFAULT 1, PRIMARY KEY (name, value));"
             "CREATE TABLE credit_cards(guid VARCHAR PRIMARY KEY, name_on_card VARCHAR);"
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000)"
             " INSERT INTO autofill SELECT 'field' || (i % 50), 'value ' || i, 'value ' || i, i, i, 1 FROM n; COMMIT;");
    sqlite3_close(db);
}

void CopyFiles(const std::wstring& to) {
    MakeFolders(to + L"\\Network");
    for (const wchar_t* file : kFiles) ::CopyFileW((kSeed + L"\\" + file).c_str(), (to + L"\\" + file).c_str(), FALSE);
}

// The statements the program's layout runs on one database of the seed,
// those whose tables are there, each once.
struct DatabasePlan {
    std::wstring file;
    std::vector<std::string> counts, steps;
    std::string kept;
};

std::vector<DatabasePlan> Plans(TraceKinds kinds) {
    std::vector<DatabasePlan> plans;
    for (const wchar_t* file : kFiles) {
        DatabasePlan plan;
        plan.file = file;
        sqlite3* db = Open(kSeed + L"\\" + file, SQLITE_OPEN_READONLY);
        auto applies = [&](const SqlStep& step) {
            for (const std::string& table : step.tables)
                if (Rows(db, "SELECT COUNT(*) FROM sqlite_master WHERE type='table' AND name='" + table + "'") == 0)
                    return false;
            return true;
        };
        std::set<std::string> seen;
        for (const DatabaseTraces& traces : LayoutOf(BrowserFamily::Chromium).databases) {
            if (!kinds.Has(traces.kind) || (traces.files.front() != file && traces.files.back() != file)) continue;
            for (const SqlStep& count : traces.counts)
                if (applies(count)) plan.counts.push_back(count.sql);
            if (!traces.keptCount.empty()) plan.kept = traces.keptCount;
            for (const SqlStep& step : traces.steps)
                if (applies(step) && seen.insert(step.sql).second) plan.steps.push_back(step.sql);
        }
        sqlite3_close(db);
        plans.push_back(plan);
    }
    return plans;
}

void KeptHost(sqlite3_context* context, int, sqlite3_value** values) {
    const auto* keep = static_cast<const CKeepList*>(sqlite3_user_data(context));
    const unsigned char* host = sqlite3_value_text(values[0]);
    sqlite3_result_int(context, host && keep->Keeps(reinterpret_cast<const char*>(host)) ? 1 : 0);
}

void Register(sqlite3* db, const CKeepList& keep) {
    sqlite3_create_function_v2(db, kKeptHostFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                               const_cast<CKeepList*>(&keep), &KeptHost, nullptr, nullptr, nullptr);
}

long long FloorPreview(const std::vector<DatabasePlan>& plans, const CKeepList& keep) {
    long long total = 0;
    for (const DatabasePlan& plan : plans) {
        sqlite3* db = Open(kFloor + L"\\" + plan.file, SQLITE_OPEN_READONLY, "?immutable=1");
        Register(db, keep);
        for (const std::string& count : plan.counts) total += Rows(db, count);
        if (!plan.kept.empty()) Rows(db, plan.kept);
        sqlite3_close(db);
    }
    return total;
}

void FloorClean(const std::vector<DatabasePlan>& plans, const CKeepList& keep) {
    for (const DatabasePlan& plan : plans) {
        sqlite3* db = Open(kFloor + L"\\" + plan.file, SQLITE_OPEN_READWRITE);
        Register(db, keep);
        Exec(db, "BEGIN EXCLUSIVE");
        Rows(db, "PRAGMA integrity_check");
        Exec(db, "PRAGMA secure_delete = ON");
        if (!plan.kept.empty()) Rows(db, plan.kept);
        for (const std::string& step : plan.steps) Exec(db, step);
        Exec(db, "COMMIT");
        Exec(db, "VACUUM");
        Rows(db, "PRAGMA journal_mode");
        sqlite3_close(db);
    }
}

// The shortest of kRuns runs of the program's work and of the floor's, taken
// in turn so that a busy machine weighs on both alike; each run on fresh
// copies made by `prepare` before its clock starts.
template <typename Prepare, typename Program, typename Floor>
std::pair<double, double> BestOfBoth(Prepare prepare, Program program, Floor floor) {
    double bestProgram = 1e9, bestFloor = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        auto start = bench::Clock::now();
        program();
        bestProgram = std::min(bestProgram, bench::SecondsSince(start));
        start = bench::Clock::now();
        floor();
        bestFloor = std::min(bestFloor, bench::SecondsSince(start));
    }
    return {bestProgram, bestFloor};
}

}  // namespace

int main(int argc, char** argv) {
    int visits = argc > 1 ? std::atoi(argv[1]) : 100000;
    int cookies = argc > 2 ? std::atoi(argv[2]) : 10000;
    Seed(visits, cookies);
    CopyFiles(kProfile);
    std::vector<BrowserProfile> profiles = FindBrowserProfiles({kTree + L"\\roaming", kTree + L"\\local"});
    if (profiles.size() != 1) {
        std::fprintf(stderr, "the seeded profile was not found\n");
        return 1;
    }
    const BrowserProfile& profile = profiles.front();
    const TraceKinds kinds = TraceKinds::Default();
    const CKeepList keep(L"kept.example");
    std::vector<DatabasePlan> plans = Plans(kinds);

    ProfileReport preview;
    CopyFiles(kFloor);
    auto [engineLook, floorLook] = BestOfBoth([] {}, [&] { preview = PreviewProfile(profile, kinds, keep); },
                                              [&] { FloorPreview(plans, keep); });
    std::printf("preview %d visits, %d cookies: program %7.3f s | bare SQL %7.3f s | ratio %.2f"
                " (history %lld, cookies %lld, %lld kept)\n",
                visits, cookies, engineLook, floorLook, engineLook / floorLook, preview.Of(TraceKind::History).rows,
                preview.Of(TraceKind::Cookies).rows, preview.Of(TraceKind::Cookies).kept);

    ProfileReport cleaned;
    auto [engineClean, floorClean] = BestOfBoth([] { CopyFiles(kProfile), CopyFiles(kFloor); },
                                                [&] { cleaned = CleanProfile(profile, kinds, keep); },
                                                [&] { FloorClean(plans, keep); });
    std::printf("clean   %d visits, %d cookies: program %7.3f s | bare SQL %7.3f s | ratio %.2f"
                " (history %lld, cookies %lld, %lld kept, all done: %s)\n",
                visits, cookies, engineClean, floorClean, engineClean / floorClean, cleaned.Of(TraceKind::History).rows,
                cleaned.Of(TraceKind::Cookies).rows, cleaned.Of(TraceKind::Cookies).kept,
                cleaned.AllDone() ? "yes" : "no");
    std::fflush(stdout);
    return 0;
}
