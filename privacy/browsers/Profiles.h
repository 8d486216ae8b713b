#pragma once
// The browser profiles of the current user: every profile of the Chromium
// browsers' "User Data" folders (Opera's single profile folder) and every
// profile that Firefox's profiles.ini names.
#include <string>
#include <vector>

namespace browsers {

enum class BrowserFamily { Chromium, Firefox };

struct BrowserProfile {
    BrowserFamily family = BrowserFamily::Chromium;
    std::wstring browser;      // "Google Chrome", "Firefox", ...
    std::wstring key;          // "chrome", "firefox", ...: what --browser names
    std::wstring name;         // "Default", "Profile 1", a Firefox profile's Name
    std::wstring folder;       // the profile's own folder: its databases and sessions
    std::wstring cacheFolder;  // where its HTTP cache is (Firefox and Opera: the local side)
    std::wstring userData;     // the folder of the browser's caches shared by its profiles ("" for none)
    std::wstring lockFile;     // held while the browser runs
    // profiles.ini named a folder outside the user's own folder (an
    // absolute path or one climbing out with ".."): listed, never looked
    // into nor cleaned.
    bool outside = false;
};

// The two application-data folders the browsers live in.
struct BrowserRoots {
    std::wstring roaming;  // %AppData%
    std::wstring local;    // %LocalAppData%
    std::wstring home;     // the user's own folder (%UserProfile%): no profile is cleaned outside it
};
// This user's.
BrowserRoots UserBrowserRoots();

// Every profile found, browser by browser in a fixed order, profiles by
// name. Folders that are links, or reached through one, are left out. A
// Firefox profile whose path is absolute or climbs with ".." must resolve
// inside the user's own folder; otherwise it is found with `outside` set.
std::vector<BrowserProfile> FindBrowserProfiles(const BrowserRoots& roots);

// True when `name` is a browser's key or name, in any letter case.
bool IsKnownBrowserName(const std::wstring& name);
// The keys, "chrome, edge, ..., firefox".
std::wstring KnownBrowserNames();

// True when `name` is the profile's browser key or name, in any letter case.
bool NamesBrowser(const BrowserProfile& profile, const std::wstring& name);

}  // namespace browsers
