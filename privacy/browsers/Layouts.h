#pragma once
// What each kind of trace is in each browser family: the databases, tables
// and rows it changes, and the files and folders it removes. Nothing else of
// a profile is ever touched.
#include <string>
#include <vector>

#include "privacy/browsers/Profiles.h"
#include "privacy/browsers/TraceKinds.h"

namespace browsers {

// One statement, run only when every table it names is there: a browser of
// another version may lack one, and a missing table that protects rows (the
// bookmarks) must stop a deletion, never widen it.
struct SqlStep {
    std::string sql;
    std::vector<std::string> tables;
    bool counted = false;  // its changed rows are what the kind reports
};

struct DatabaseTraces {
    TraceKind kind;
    std::vector<std::wstring> files;  // below the profile folder; the first that exists
    std::vector<SqlStep> counts;      // summed: the rows a clean would remove
    std::string keptCount;            // cookies: the rows the keep-list keeps
    std::vector<SqlStep> steps;       // in order, in the database's one transaction
};

// Where a file or folder of a kind lies.
enum class Base { Profile, Cache, UserData };
struct FileTraces {
    TraceKind kind;
    Base base;
    std::wstring relative;
    bool counted = true;  // what the kind reports: its items and their bytes (not so beside a database's rows)
};

// The pages whose traces stay because a bookmark names them: a query of
// one database, asked before the others change.
struct BookmarkedPages {
    std::wstring file;  // below the profile folder; "" for none
    std::string sql;    // their URLs, one a row
    std::vector<std::string> tables;
};

struct BrowserLayout {
    std::vector<DatabaseTraces> databases;
    BookmarkedPages bookmarkedPages;
    std::vector<FileTraces> files;
};

const BrowserLayout& LayoutOf(BrowserFamily family);

// The SQL function the cookie statements call: true when the keep-list keeps the host.
inline constexpr const char* kKeptHostFunction = "brisko_kept_host";
// The SQL function of the icon statements: true for a bookmarked page's URL.
inline constexpr const char* kBookmarkedFunction = "brisko_bookmarked";

}  // namespace browsers
