#pragma once
// Looking at and cleaning one browser profile. A look changes nothing. A
// clean leaves a profile whose browser runs whole; it changes each database
// in one transaction after its integrity check, deletes only the rows its
// layout names, and compacts the file with secure deletion on so that what
// was removed is gone from its bytes. Caches and sessions go through the
// program's guarded removal.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "privacy/browsers/KeepList.h"
#include "privacy/browsers/Profiles.h"
#include "privacy/browsers/TraceKinds.h"

namespace browsers {

// Why a database or a file of a profile was left.
enum class LeftWhy {
    NotADatabase,     // not a valid SQLite file
    IntegrityFailed,  // SQLite's integrity check found damage
    Failed,           // SQLite or the file system refused; the detail says how
    ItemLeft,         // a cache or session file stayed (in use, a link, ...)
    Unsafe,           // a link, or a file with more than one name (it or its -wal, -journal, -shm): never opened to write
    Excluded,         // a policy (ExcludePaths) keeps it
};

// Why a whole profile is not looked into.
enum class Refusal {
    None,
    Outside,   // profiles.ini names a folder outside the user's own
    Excluded,  // the profile's folder lies in a path a policy excludes
};

struct LeftItem {
    std::wstring path;
    LeftWhy why;
    std::wstring detail;  // SQLite's or the removal's own words
};

struct KindCount {
    bool looked = false;      // the kind was chosen and the profile could be looked at
    long long rows = 0;       // rows removed, or that a clean would remove
    long long kept = 0;       // cookies the keep-list keeps
    ULONGLONG bytes = 0;      // file kinds: the bytes of the files
};

struct ProfileReport {
    bool inUse = false;  // the browser runs: nothing of the profile was looked at or changed
    Refusal refused = Refusal::None;  // nothing of the profile was looked at or changed
    std::array<KindCount, kTraceKinds> kinds{};
    std::vector<LeftItem> left;
    std::vector<bool> keepUsed;  // by entry of the keep-list: a cookie of the profile is kept for it
    bool AllDone() const { return !inUse && refused == Refusal::None && left.empty(); }
    const KindCount& Of(TraceKind kind) const { return kinds[static_cast<int>(kind)]; }
    KindCount& Of(TraceKind kind) { return kinds[static_cast<int>(kind)]; }
};

// True when the profile's browser holds its lock now, or another process
// holds one of its databases: what a clean would meet.
bool IsProfileInUse(const BrowserProfile& profile);

// The state a look or a clean meets before anything is read: refused,
// in use, or neither (`inUse` false, `refused` None).
ProfileReport ProfileState(const BrowserProfile& profile);

// The entries of the keep-list that no cookie of any report was kept for
// (reports that looked at cookies), in the list's order.
std::vector<std::string> UnmatchedKeepEntries(const CKeepList& keep, const std::vector<ProfileReport>& reports);

// What a clean of the chosen kinds would remove; changes nothing.
ProfileReport PreviewProfile(const BrowserProfile& profile, TraceKinds kinds, const CKeepList& keep);

// Removes the chosen kinds; the report tells what went and what stayed.
ProfileReport CleanProfile(const BrowserProfile& profile, TraceKinds kinds, const CKeepList& keep);

// Cookies Killer with a keep-list in force: a cookie database of a browser
// this cleaning knows (a file named as a layout's cookie database that
// holds its table, or a -wal, -shm or -journal companion of one) is cleaned
// of every cookie but the kept sites', in the same checked transaction as a
// profile's; nothing else is understood (`understood` false) and is left
// to the caller.
struct CookieDatabaseOutcome {
    bool understood = false;
    bool inUse = false;
    long long removed = 0, kept = 0;
    std::vector<LeftItem> left;
};
CookieDatabaseOutcome CleanCookieDatabase(const std::wstring& path, const CKeepList& keep);
// True when CleanCookieDatabase would understand the path; reads only.
bool IsKnownCookieDatabase(const std::wstring& path);

// The database files of a profile that the chosen kinds change, each once.
std::vector<std::wstring> DatabaseFiles(const BrowserProfile& profile, TraceKinds kinds);

}  // namespace browsers
