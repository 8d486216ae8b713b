#pragma once
// Browser profiles for the tests: real SQLite databases made with the
// program's own SQLite, with the tables and columns of the browsers' public
// layouts that the cleaning reads and writes, plus tables and files that
// must never change.
#include <map>
#include <string>

namespace testing_support {

// Runs `sql` on a new database file (any old one is replaced).
void MakeDatabase(const std::wstring& path, const std::string& sql);
// The rows of a query, columns joined by "|", rows by ","; "ERROR: ..." on failure.
std::string QueryRows(const std::wstring& path, const std::string& sql);

// Markers that only removed rows hold: after a clean they must be gone from
// the files' bytes.
inline constexpr const char* kVisitedMarker = "visited-secret.example";
inline constexpr const char* kCookieMarker = "tracker-secret.example";
inline constexpr const char* kFormMarker = "typed-secret-value";

// A Chromium profile laid out as the browser does: History (visits, URLs,
// search terms, most visited, visited links, annotations, clusters,
// downloads), Favicons, Top Sites, Shortcuts, Network Action Predictor,
// the Visited Links file, Network\Cookies, Web Data (autofill beside cards
// and search engines), Login Data and Bookmarks, Sessions and Cache folders.
void SeedChromiumProfile(const std::wstring& folder, const std::wstring& cacheFolder);
// A Firefox profile: places.sqlite (visits, a bookmarked and a keyword
// place, a download, page metadata), favicons.sqlite (the icon of a visited
// and of the bookmarked page), cookies.sqlite, formhistory.sqlite,
// logins.json, session files and a cache2 folder on the cache side.
void SeedFirefoxProfile(const std::wstring& folder, const std::wstring& cacheFolder);
// profiles.ini naming the given relative profile paths, Profile0 first.
void WriteProfilesIni(const std::wstring& firefoxFolder, const std::map<std::wstring, std::wstring>& nameToPath);

// Every file below a folder with its bytes, by path relative to it.
std::map<std::wstring, std::string> Snapshot(const std::wstring& folder);
// The relative paths whose bytes differ between two snapshots, or that one lacks.
std::map<std::wstring, std::string> Differences(const std::map<std::wstring, std::string>& before,
                                               const std::map<std::wstring, std::string>& after);

}  // namespace testing_support
