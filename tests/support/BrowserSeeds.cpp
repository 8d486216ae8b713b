#include "support/BrowserSeeds.h"

#include <sqlite3.h>

#include <stdexcept>

#include "support/TestSupport.h"
#include "win/Text.h"

namespace testing_support {

namespace {

sqlite3* Open(const std::wstring& path, int flags) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(win::ToNarrow(path, CP_UTF8).c_str(), &db, flags, nullptr);
    return db;
}

const char kChromiumHistory[] = R"(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
INSERT INTO meta VALUES('version','67');
CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT, url LONGVARCHAR, title LONGVARCHAR,
  visit_count INTEGER DEFAULT 0 NOT NULL, typed_count INTEGER DEFAULT 0 NOT NULL,
  last_visit_time INTEGER NOT NULL, hidden INTEGER DEFAULT 0 NOT NULL);
CREATE INDEX urls_url_index ON urls (url);
CREATE TABLE visits(id INTEGER PRIMARY KEY AUTOINCREMENT, url INTEGER NOT NULL, visit_time INTEGER NOT NULL,
  from_visit INTEGER, transition INTEGER DEFAULT 0 NOT NULL, segment_id INTEGER, visit_duration INTEGER DEFAULT 0 NOT NULL);
CREATE INDEX visits_url_index ON visits (url);
CREATE TABLE visit_source(id INTEGER PRIMARY KEY, source INTEGER NOT NULL);
CREATE TABLE keyword_search_terms(keyword_id INTEGER NOT NULL, url_id INTEGER NOT NULL, term LONGVARCHAR NOT NULL,
  normalized_term LONGVARCHAR NOT NULL);
CREATE TABLE segments(id INTEGER PRIMARY KEY, name VARCHAR, url_id INTEGER NON NULL);
CREATE TABLE segment_usage(id INTEGER PRIMARY KEY, segment_id INTEGER NOT NULL, time_slot INTEGER NOT NULL,
  visit_count INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE downloads(id INTEGER PRIMARY KEY, guid VARCHAR NOT NULL, current_path LONGVARCHAR NOT NULL,
  target_path LONGVARCHAR NOT NULL, start_time INTEGER NOT NULL, received_bytes INTEGER NOT NULL,
  total_bytes INTEGER NOT NULL, state INTEGER NOT NULL, tab_url VARCHAR NOT NULL);
CREATE TABLE downloads_url_chains(id INTEGER NOT NULL, chain_index INTEGER NOT NULL, url LONGVARCHAR NOT NULL,
  PRIMARY KEY (id, chain_index));
INSERT INTO urls VALUES(1,'https://visited-secret.example/a','Secret',2,1,13300000000000000,0);
INSERT INTO urls VALUES(2,'https://news.example/','News',1,0,13300000000000001,0);
INSERT INTO visits VALUES(1,1,13300000000000000,0,805306369,1,0);
INSERT INTO visits VALUES(2,1,13300000000000002,0,805306368,1,0);
INSERT INTO visits VALUES(3,2,13300000000000001,0,805306368,0,0);
INSERT INTO visit_source VALUES(3,1);
INSERT INTO keyword_search_terms VALUES(2,2,'visited-secret.example term','visited-secret.example term');
INSERT INTO segments VALUES(1,'http://visited-secret.example/',1);
INSERT INTO segment_usage VALUES(1,1,13300000000000000,2);
INSERT INTO downloads VALUES(1,'0F0E','C:\dl\setup.exe','C:\dl\setup.exe',13300000000000000,10,10,1,
  'https://downloads-page.example/');
INSERT INTO downloads_url_chains VALUES(1,0,'https://downloads-page.example/setup.exe');
CREATE TABLE downloads_slices(download_id INTEGER NOT NULL, offset INTEGER NOT NULL, received_bytes INTEGER NOT NULL,
  finished INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (download_id, offset));
INSERT INTO downloads_slices VALUES(1,0,10,1);
CREATE TABLE visited_links(id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, link_url_id INTEGER NOT NULL,
  top_level_url LONGVARCHAR NOT NULL, frame_url LONGVARCHAR NOT NULL, visit_count INTEGER DEFAULT 0 NOT NULL);
INSERT INTO visited_links VALUES(1,1,'https://visited-secret.example/','https://visited-secret.example/',1);
CREATE TABLE content_annotations(visit_id INTEGER PRIMARY KEY, visibility_score NUMERIC, floc_protected_score NUMERIC,
  categories VARCHAR, page_topics_model_version INTEGER, annotation_flags INTEGER NOT NULL, entities VARCHAR,
  related_searches VARCHAR, search_normalized_url VARCHAR, search_terms LONGVARCHAR, alternative_title VARCHAR,
  page_language VARCHAR, password_state INTEGER DEFAULT 0 NOT NULL, has_url_keyed_image BOOLEAN DEFAULT false NOT NULL);
INSERT INTO content_annotations(visit_id, annotation_flags, search_terms) VALUES(1,0,'visited-secret.example terms');
CREATE TABLE context_annotations(visit_id INTEGER PRIMARY KEY, context_annotation_flags INTEGER NOT NULL,
  duration_since_last_visit INTEGER, page_end_reason INTEGER, total_foreground_duration INTEGER,
  browser_type INTEGER DEFAULT 0 NOT NULL, window_id INTEGER DEFAULT -1 NOT NULL, tab_id INTEGER DEFAULT -1 NOT NULL,
  task_id INTEGER DEFAULT -1 NOT NULL, root_task_id INTEGER DEFAULT -1 NOT NULL, parent_task_id INTEGER DEFAULT -1 NOT NULL,
  response_code INTEGER DEFAULT 0 NOT NULL);
INSERT INTO context_annotations(visit_id, context_annotation_flags) VALUES(1,0);
CREATE TABLE clusters(cluster_id INTEGER PRIMARY KEY AUTOINCREMENT, should_show_on_prominent_ui_surfaces BOOLEAN NOT NULL,
  label VARCHAR NOT NULL, raw_label VARCHAR NOT NULL, triggerability_calculated BOOLEAN NOT NULL,
  originator_cache_guid TEXT NOT NULL, originator_cluster_id INTEGER NOT NULL);
INSERT INTO clusters VALUES(1,1,'visited-secret.example','visited-secret.example',1,'',0);
CREATE TABLE clusters_and_visits(cluster_id INTEGER NOT NULL, visit_id INTEGER NOT NULL, score NUMERIC DEFAULT 0 NOT NULL,
  engagement_score NUMERIC DEFAULT 0 NOT NULL, url_for_deduping LONGVARCHAR NOT NULL, normalized_url LONGVARCHAR NOT NULL,
  url_for_display LONGVARCHAR NOT NULL, interaction_state INTEGER DEFAULT 0 NOT NULL, PRIMARY KEY(cluster_id, visit_id))
  WITHOUT ROWID;
INSERT INTO clusters_and_visits VALUES(1,1,1,1,'https://visited-secret.example/a','https://visited-secret.example/a',
  'visited-secret.example/a',0);
CREATE TABLE cluster_keywords(cluster_id INTEGER NOT NULL, keyword VARCHAR NOT NULL, type INTEGER NOT NULL,
  score NUMERIC NOT NULL, collections VARCHAR NOT NULL);
INSERT INTO cluster_keywords VALUES(1,'visited-secret.example',0,1,'');
CREATE TABLE cluster_visit_duplicates(visit_id INTEGER NOT NULL, duplicate_visit_id INTEGER NOT NULL,
  PRIMARY KEY(visit_id, duplicate_visit_id)) WITHOUT ROWID;
INSERT INTO cluster_visit_duplicates VALUES(1,2);
)";

// The icons of the visited pages, a form submission's URL with what was typed among them.
const char kChromiumFavicons[] = R"(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
INSERT INTO meta VALUES('version','8');
CREATE TABLE icon_mapping(id INTEGER PRIMARY KEY, page_url LONGVARCHAR NOT NULL, icon_id INTEGER);
CREATE INDEX icon_mapping_page_url_idx ON icon_mapping(page_url);
CREATE TABLE favicons(id INTEGER PRIMARY KEY, url LONGVARCHAR NOT NULL, icon_type INTEGER DEFAULT 1);
CREATE TABLE favicon_bitmaps(id INTEGER PRIMARY KEY, icon_id INTEGER NOT NULL, last_updated INTEGER DEFAULT 0,
  image_data BLOB, width INTEGER DEFAULT 0, height INTEGER DEFAULT 0, last_requested INTEGER DEFAULT 0);
INSERT INTO icon_mapping VALUES(1,'https://visited-secret.example/search?q=typed-secret-value',1);
INSERT INTO icon_mapping VALUES(2,'https://bookmarked.example/',2);
INSERT INTO favicons VALUES(1,'https://visited-secret.example/favicon.ico',1),(2,'https://bookmarked.example/icon.png',1);
INSERT INTO favicon_bitmaps VALUES(1,1,0,x'89504E47',16,16,0),(2,2,0,x'89504E47',16,16,0);
)";

const char kChromiumShortcuts[] = R"(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE omni_box_shortcuts(id VARCHAR PRIMARY KEY, text VARCHAR, fill_into_edit VARCHAR, url VARCHAR,
  contents VARCHAR, contents_class VARCHAR, description VARCHAR, description_class VARCHAR, transition INTEGER,
  type INTEGER, keyword VARCHAR, last_access_time INTEGER, number_of_hits INTEGER);
INSERT INTO omni_box_shortcuts VALUES('S1','visi','visited-secret.example','https://visited-secret.example/','','','','',
  0,0,'',13300000000000000,2);
)";

const char kChromiumPredictor[] = R"(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE network_action_predictor(id TEXT PRIMARY KEY, user_text TEXT, url TEXT, number_of_hits INTEGER,
  number_of_misses INTEGER);
INSERT INTO network_action_predictor VALUES('P1','visi','https://visited-secret.example/',3,0);
)";

const char kChromiumCookies[] = R"(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
INSERT INTO meta VALUES('version','21');
CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, top_frame_site_key TEXT NOT NULL,
  name TEXT NOT NULL, value TEXT NOT NULL, encrypted_value BLOB NOT NULL, path TEXT NOT NULL,
  expires_utc INTEGER NOT NULL, is_secure INTEGER NOT NULL, is_httponly INTEGER NOT NULL,
  last_access_utc INTEGER NOT NULL, UNIQUE (host_key, top_frame_site_key, name, path));
INSERT INTO cookies VALUES(1,'.example.com','','sid','1',x'','/',0,1,1,0);
INSERT INTO cookies VALUES(2,'www.example.com','','pref','2',x'','/',0,1,1,0);
INSERT INTO cookies VALUES(3,'badexample.com','','x','3',x'','/',0,1,1,0);
INSERT INTO cookies VALUES(4,'.tracker-secret.example','','id','4',x'','/',0,1,1,0);
INSERT INTO cookies VALUES(5,'example.com.evil.net','','y','5',x'','/',0,1,1,0);
)";

const char kChromiumWebData[] = R"(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
INSERT INTO meta VALUES('version','100');
CREATE TABLE autofill(name VARCHAR, value VARCHAR, value_lower VARCHAR, date_created INTEGER DEFAULT 0,
  date_last_used INTEGER DEFAULT 0, count INTEGER DEFAULT 1, PRIMARY KEY (name, value));
CREATE TABLE autofill_dates(pair_id INTEGER DEFAULT 0, date_created INTEGER DEFAULT 0);
INSERT INTO autofill_dates VALUES(1,1);
CREATE TABLE credit_cards(guid VARCHAR PRIMARY KEY, name_on_card VARCHAR);
CREATE TABLE keywords(id INTEGER PRIMARY KEY, short_name VARCHAR NOT NULL, keyword VARCHAR NOT NULL, url VARCHAR NOT NULL);
INSERT INTO autofill VALUES('q','typed-secret-value','typed-secret-value',1,1,3);
INSERT INTO autofill VALUES('email','me@mail.example','me@mail.example',1,1,1);
INSERT INTO credit_cards VALUES('C1','Card Holder');
INSERT INTO keywords VALUES(1,'Search','s','https://search.example/?q={searchTerms}');
)";

const char kChromiumLoginData[] = R"(
CREATE TABLE logins(origin_url VARCHAR NOT NULL, username_value VARCHAR, password_value BLOB);
INSERT INTO logins VALUES('https://visited-secret.example/login','me',x'0102');
)";

const char kFirefoxPlaces[] = R"(
PRAGMA journal_mode = WAL;
CREATE TABLE moz_origins(id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL, frecency INTEGER NOT NULL,
  UNIQUE (prefix, host));
CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
  visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
  frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT, origin_id INTEGER);
CREATE TABLE moz_historyvisits(id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date INTEGER,
  visit_type INTEGER, session INTEGER);
CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);
CREATE TABLE moz_inputhistory(place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,
  PRIMARY KEY (place_id, input));
CREATE TABLE moz_bookmarks(id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR, guid TEXT);
CREATE TABLE moz_keywords(id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER, post_data TEXT);
CREATE TABLE moz_anno_attributes(id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos(id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER, content LONGVARCHAR,
  flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0, dateAdded INTEGER DEFAULT 0,
  lastModified INTEGER DEFAULT 0);
INSERT INTO moz_origins VALUES(1,'https://','visited-secret.example',100),(2,'https://','bookmarked.example',100),
  (3,'https://','keyword.example',100),(4,'https://','downloads-page.example',100);
INSERT INTO moz_places VALUES(1,'https://visited-secret.example/a','Secret','elpmaxe.terces-detisiv.',3,0,1,100,
  1700000000000000,'g1',1);
INSERT INTO moz_places VALUES(2,'https://bookmarked.example/','Kept','elpmaxe.dekramkoob.',2,0,1,100,1700000000000001,'g2',2);
INSERT INTO moz_places VALUES(3,'https://keyword.example/?q=%s','Search','elpmaxe.drowyek.',0,0,0,100,NULL,'g3',3);
INSERT INTO moz_places VALUES(4,'https://downloads-page.example/setup.exe','Setup','elpmaxe.egap-sdaolnwod.',1,0,0,100,
  1700000000000002,'g4',4);
INSERT INTO moz_historyvisits VALUES(1,0,1,1700000000000000,1,0),(2,0,1,1700000000000003,2,0),(3,0,2,1700000000000001,1,0),
  (4,0,4,1700000000000002,7,0);
INSERT INTO moz_inputhistory VALUES(1,'visited-secret.example',1);
INSERT INTO moz_bookmarks VALUES(1,2,NULL,0,0,'root','root________'),(2,1,2,1,0,'Kept','bm1');
INSERT INTO moz_keywords VALUES(1,'s',3,NULL);
INSERT INTO moz_anno_attributes VALUES(1,'downloads/destinationFileURI'),(2,'downloads/metaData');
INSERT INTO moz_annos VALUES(1,4,1,'file:///C:/dl/setup.exe',0,4,3,0,0),(2,4,2,'{"state":1}',0,4,3,0,0);
CREATE TABLE moz_places_metadata(id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, referrer_place_id INTEGER,
  created_at INTEGER NOT NULL DEFAULT 0, updated_at INTEGER NOT NULL DEFAULT 0, total_view_time INTEGER NOT NULL DEFAULT 0,
  typing_time INTEGER NOT NULL DEFAULT 0, key_presses INTEGER NOT NULL DEFAULT 0, scrolling_time INTEGER NOT NULL DEFAULT 0,
  scrolling_distance INTEGER NOT NULL DEFAULT 0, document_type INTEGER NOT NULL DEFAULT 0, search_query_id INTEGER);
CREATE TABLE moz_places_metadata_search_queries(id INTEGER PRIMARY KEY, terms TEXT NOT NULL UNIQUE);
INSERT INTO moz_places_metadata(id, place_id, search_query_id) VALUES(1,1,1);
INSERT INTO moz_places_metadata_search_queries VALUES(1,'visited-secret.example query');
)";

// The pages icons were shown for; one is bookmarked.
const char kFirefoxFavicons[] = R"(
PRAGMA journal_mode = WAL;
CREATE TABLE moz_icons(id INTEGER PRIMARY KEY, icon_url TEXT NOT NULL, fixed_icon_url_hash INTEGER NOT NULL,
  width INTEGER NOT NULL DEFAULT 0, root INTEGER NOT NULL DEFAULT 0, color INTEGER, expire_ms INTEGER NOT NULL DEFAULT 0,
  data BLOB);
CREATE TABLE moz_pages_w_icons(id INTEGER PRIMARY KEY, page_url TEXT NOT NULL, page_url_hash INTEGER NOT NULL);
CREATE TABLE moz_icons_to_pages(page_id INTEGER NOT NULL, icon_id INTEGER NOT NULL, expire_ms INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (page_id, icon_id)) WITHOUT ROWID;
INSERT INTO moz_pages_w_icons VALUES(1,'https://visited-secret.example/a?q=typed-secret-value',0),
  (2,'https://bookmarked.example/',0);
INSERT INTO moz_icons VALUES(1,'https://visited-secret.example/favicon.ico',0,16,1,NULL,0,x'89504E47'),
  (2,'https://bookmarked.example/icon.png',0,16,0,NULL,0,x'89504E47');
INSERT INTO moz_icons_to_pages VALUES(1,1,0),(2,2,0);
)";

const char kFirefoxCookies[] = R"(
CREATE TABLE moz_cookies(id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT, value TEXT,
  host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, isSecure INTEGER, isHttpOnly INTEGER,
  CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes));
INSERT INTO moz_cookies VALUES(1,'','sid','1','.example.com','/',0,0,0,1,1);
INSERT INTO moz_cookies VALUES(2,'','pref','2','WWW.Example.COM','/',0,0,0,1,1);
INSERT INTO moz_cookies VALUES(3,'','x','3','badexample.com','/',0,0,0,1,1);
INSERT INTO moz_cookies VALUES(4,'','id','4','.tracker-secret.example','/',0,0,0,1,1);
)";

const char kFirefoxForms[] = R"(
CREATE TABLE moz_formhistory(id INTEGER PRIMARY KEY, fieldname TEXT NOT NULL, value TEXT NOT NULL, timesUsed INTEGER,
  firstUsed INTEGER, lastUsed INTEGER, guid TEXT);
CREATE TABLE moz_deleted_formhistory(id INTEGER PRIMARY KEY, timeDeleted INTEGER, guid TEXT);
CREATE TABLE moz_sources(id INTEGER PRIMARY KEY, source TEXT NOT NULL);
CREATE TABLE moz_history_to_sources(history_id INTEGER, source_id INTEGER, PRIMARY KEY (history_id, source_id));
INSERT INTO moz_sources VALUES(1,'typed-secret-value source');
INSERT INTO moz_history_to_sources VALUES(1,1);
INSERT INTO moz_formhistory VALUES(1,'q','typed-secret-value',3,1,2,'f1'),(2,'email','me@mail.example',1,1,1,'f2');
INSERT INTO moz_deleted_formhistory VALUES(1,5,'old');
)";

}  // namespace

void MakeDatabase(const std::wstring& path, const std::string& sql) {
    ::DeleteFileW(path.c_str());
    sqlite3* db = Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string why = error ? error : "?";
        sqlite3_free(error);
        sqlite3_close(db);
        throw std::runtime_error("seed: " + why);
    }
    sqlite3_close(db);
}

std::string QueryRows(const std::wstring& path, const std::string& sql) {
    // Read only, a database in write-ahead-log mode would keep new -wal and
    // -shm files; told the file cannot change, SQLite makes none.
    sqlite3* db = nullptr;
    std::string uri = "file:" + win::ToNarrow(path, CP_UTF8) + "?immutable=1";
    for (char& c : uri)
        if (c == '\\') c = '/';
    sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string rows;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        rows = std::string("ERROR: ") + sqlite3_errmsg(db);
    } else {
        int result;
        while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
            if (!rows.empty()) rows += ",";
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const unsigned char* text = sqlite3_column_text(statement, c);
                rows += (c ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
            }
        }
        if (result != SQLITE_DONE) rows = std::string("ERROR: ") + sqlite3_errmsg(db);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

void SeedChromiumProfile(const std::wstring& folder, const std::wstring& cacheFolder) {
    MakeFolders(folder + L"\\Network");
    MakeDatabase(folder + L"\\History", kChromiumHistory);
    MakeDatabase(folder + L"\\Network\\Cookies", kChromiumCookies);
    MakeDatabase(folder + L"\\Web Data", kChromiumWebData);
    MakeDatabase(folder + L"\\Login Data", kChromiumLoginData);
    MakeDatabase(folder + L"\\Favicons", kChromiumFavicons);
    MakeDatabase(folder + L"\\Shortcuts", kChromiumShortcuts);
    MakeDatabase(folder + L"\\Network Action Predictor", kChromiumPredictor);
    WriteFileBytes(folder + L"\\Visited Links", std::string("VLnk\0\0\0\0", 8) + std::string(64, '\x5a'));
    MakeDatabase(folder + L"\\Top Sites", "CREATE TABLE top_sites(url LONGVARCHAR, url_rank INTEGER, title LONGVARCHAR);"
                                          "INSERT INTO top_sites VALUES('https://visited-secret.example/',0,'S');");
    WriteFileBytes(folder + L"\\Bookmarks", "{\"roots\":{\"bookmark_bar\":{\"url\":\"https://bookmarked.example/\"}}}");
    WriteFileBytes(folder + L"\\Preferences", "{\"profile\":{\"name\":\"Person 1\"}}");
    MakeFolders(folder + L"\\Sessions");
    WriteFileBytes(folder + L"\\Sessions\\Session_13300000000000000", "SNSS tabs");
    MakeFolders(cacheFolder + L"\\Cache\\Cache_Data");
    WriteFileBytes(cacheFolder + L"\\Cache\\Cache_Data\\data_0", std::string(3000, 'c'));
}

void SeedFirefoxProfile(const std::wstring& folder, const std::wstring& cacheFolder) {
    MakeFolders(folder + L"\\sessionstore-backups");
    MakeDatabase(folder + L"\\places.sqlite", kFirefoxPlaces);
    MakeDatabase(folder + L"\\favicons.sqlite", kFirefoxFavicons);
    MakeDatabase(folder + L"\\cookies.sqlite", kFirefoxCookies);
    MakeDatabase(folder + L"\\formhistory.sqlite", kFirefoxForms);
    WriteFileBytes(folder + L"\\logins.json", "{\"logins\":[{\"hostname\":\"https://visited-secret.example\"}]}");
    WriteFileBytes(folder + L"\\prefs.js", "user_pref(\"browser.startup.page\", 3);");
    WriteFileBytes(folder + L"\\sessionstore.jsonlz4", "mozLz40 tabs");
    WriteFileBytes(folder + L"\\sessionstore-backups\\recovery.jsonlz4", "mozLz40 recovery");
    MakeFolders(cacheFolder + L"\\cache2\\entries");
    WriteFileBytes(cacheFolder + L"\\cache2\\entries\\ABCDEF", std::string(2000, 'f'));
}

void WriteProfilesIni(const std::wstring& firefoxFolder, const std::map<std::wstring, std::wstring>& nameToPath) {
    std::string text = "[General]\r\nStartWithLastProfile=1\r\n";
    int n = 0;
    for (const auto& [name, path] : nameToPath)
        text += "\r\n[Profile" + std::to_string(n++) + "]\r\nName=" + win::ToNarrow(name, CP_UTF8) +
                "\r\nIsRelative=1\r\nPath=" + win::ToNarrow(path, CP_UTF8) + "\r\n";
    MakeFolders(firefoxFolder);
    WriteFileBytes(firefoxFolder + L"\\profiles.ini", text);
}

std::map<std::wstring, std::string> Snapshot(const std::wstring& folder) {
    std::map<std::wstring, std::string> files;
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return files;
    do {
        std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (auto& [path, bytes] : Snapshot(folder + L"\\" + name)) files[name + L"\\" + path] = bytes;
        } else {
            files[name] = ReadFileBytes(folder + L"\\" + name);
        }
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return files;
}

std::map<std::wstring, std::string> Differences(const std::map<std::wstring, std::string>& before,
                                               const std::map<std::wstring, std::string>& after) {
    std::map<std::wstring, std::string> changed;
    for (const auto& [path, bytes] : before) {
        auto other = after.find(path);
        if (other == after.end()) changed[path] = "gone";
        else if (other->second != bytes) changed[path] = "changed";
    }
    for (const auto& [path, bytes] : after)
        if (!before.count(path)) changed[path] = "new";
    return changed;
}

}  // namespace testing_support
