// Browser profiles found, previewed and cleaned on real databases made with
// the program's own SQLite in scratch folders of the prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "privacy/browsers/BrowserCleaning.h"
#include "privacy/browsers/KeepList.h"
#include "privacy/browsers/Profiles.h"
#include "support/BrowserSeeds.h"
#include "support/TestSupport.h"
#include "win/Text.h"

using namespace testing_support;
using namespace browsers;

namespace {

TEST(KeepList, KeepsANameAndItsSubdomainsOnly) {
    const struct {
        const wchar_t* keep;
        const char* host;
        bool kept;
    } cases[] = {
        {L"example.com", "example.com", true},
        {L"example.com", ".example.com", true},
        {L"example.com", "www.example.com", true},
        {L"example.com", "a.b.example.com", true},
        {L"example.com", "badexample.com", false},
        {L"example.com", "example.com.evil.net", false},
        {L"example.com", "com", false},
        {L"Example.COM", "WWW.example.Com", true},           // letter case
        {L".example.com", "example.com", true},              // a leading dot
        {L"example.com.", "www.example.com", true},          // a trailing dot
        {L"example.com", "example.com.", true},
        {L"\r\n  \r\nexample.com\r\n\r\n", "example.com", true},  // empty and blank lines
        {L"\r\n\r\n", "example.com", false},
        {L"example.com", "", false},
        {L"192.168.1.10", "192.168.1.10", true},             // an IP address keeps itself
        {L"0.0.1", "10.0.0.1", false},                       // ...and no address ends in it
        {L"[::1]", "::1", true},
        {L"https://Shop.Example.org:8443/cart", "shop.example.org", true},
        {L"https://Shop.Example.org:8443/cart", "example.org", false},
        {L"other.net\r\nexample.com", "mail.example.com", true},
    };
    for (const auto& c : cases) {
        CKeepList keep(c.keep);
        EXPECT_EQ(keep.Keeps(c.host), c.kept) << win::ToNarrow(c.keep) << " / " << c.host;
    }
}

// The scratch folder's roots: "roaming" and "local" below it.
struct Roots {
    ScratchFolder scratch{L"browsers"};
    BrowserRoots roots{scratch / L"roaming", scratch / L"local"};
    std::wstring Relative(const std::wstring& path) const { return path.substr(scratch.Path().size() + 1); }
};

TEST(BrowserProfiles, EveryChromiumAndFirefoxProfileIsFoundInOrder) {
    Roots r;
    for (const wchar_t* folder : {L"local\\Google\\Chrome\\User Data\\Default", L"local\\Google\\Chrome\\User Data\\Profile 10",
                                  L"local\\Google\\Chrome\\User Data\\Profile 2", L"local\\Google\\Chrome\\User Data\\System Profile",
                                  L"local\\Google\\Chrome\\User Data\\Crashpad", L"local\\Microsoft\\Edge\\User Data\\Default",
                                  L"local\\BraveSoftware\\Brave-Browser\\User Data\\Default", L"local\\Vivaldi\\User Data\\Default",
                                  L"local\\Chromium\\User Data\\Profile 1", L"roaming\\Opera Software\\Opera Stable",
                                  L"roaming\\Mozilla\\Firefox\\Profiles\\abcd.default-release",
                                  L"roaming\\Mozilla\\Firefox\\Profiles\\w0rk.work", L"escape"})
        MakeFolders(r.scratch / folder);
    WriteFileBytes(r.scratch / L"local\\Google\\Chrome\\User Data\\Profile 3", "a file, no profile");
    WriteProfilesIni(r.scratch / L"roaming\\Mozilla\\Firefox",
                     {{L"default-release", L"Profiles/abcd.default-release"}, {L"work", L"Profiles/w0rk.work"},
                      {L"climbs", L"../../../escape"}, {L"gone", L"Profiles/missing"}});
    std::vector<std::wstring> found;
    for (const BrowserProfile& p : FindBrowserProfiles(r.roots))
        found.push_back(p.browser + L"|" + p.name + L"|" + r.Relative(p.folder) + L"|" + r.Relative(p.cacheFolder) +
                        L"|" + r.Relative(p.lockFile));
    const std::vector<std::wstring> expected = {
        L"Google Chrome|Default|local\\Google\\Chrome\\User Data\\Default|local\\Google\\Chrome\\User Data\\Default|"
        L"local\\Google\\Chrome\\User Data\\lockfile",
        L"Google Chrome|Profile 2|local\\Google\\Chrome\\User Data\\Profile 2|local\\Google\\Chrome\\User Data\\Profile 2|"
        L"local\\Google\\Chrome\\User Data\\lockfile",
        L"Google Chrome|Profile 10|local\\Google\\Chrome\\User Data\\Profile 10|local\\Google\\Chrome\\User Data\\Profile 10|"
        L"local\\Google\\Chrome\\User Data\\lockfile",
        L"Microsoft Edge|Default|local\\Microsoft\\Edge\\User Data\\Default|local\\Microsoft\\Edge\\User Data\\Default|"
        L"local\\Microsoft\\Edge\\User Data\\lockfile",
        L"Brave|Default|local\\BraveSoftware\\Brave-Browser\\User Data\\Default|"
        L"local\\BraveSoftware\\Brave-Browser\\User Data\\Default|local\\BraveSoftware\\Brave-Browser\\User Data\\lockfile",
        L"Vivaldi|Default|local\\Vivaldi\\User Data\\Default|local\\Vivaldi\\User Data\\Default|"
        L"local\\Vivaldi\\User Data\\lockfile",
        L"Opera|Default|roaming\\Opera Software\\Opera Stable|local\\Opera Software\\Opera Stable|"
        L"roaming\\Opera Software\\Opera Stable\\lockfile",
        L"Chromium|Profile 1|local\\Chromium\\User Data\\Profile 1|local\\Chromium\\User Data\\Profile 1|"
        L"local\\Chromium\\User Data\\lockfile",
        L"Firefox|default-release|roaming\\Mozilla\\Firefox\\Profiles\\abcd.default-release|"
        L"local\\Mozilla\\Firefox\\Profiles\\abcd.default-release|"
        L"roaming\\Mozilla\\Firefox\\Profiles\\abcd.default-release\\parent.lock",
        L"Firefox|work|roaming\\Mozilla\\Firefox\\Profiles\\w0rk.work|local\\Mozilla\\Firefox\\Profiles\\w0rk.work|"
        L"roaming\\Mozilla\\Firefox\\Profiles\\w0rk.work\\parent.lock",
    };
    EXPECT_EQ(found, expected);
}

const wchar_t kChromeProfile[] = L"local\\Google\\Chrome\\User Data\\Default";
const wchar_t kFirefoxProfile[] = L"roaming\\Mozilla\\Firefox\\Profiles\\abcd.default-release";
const wchar_t kFirefoxCache[] = L"local\\Mozilla\\Firefox\\Profiles\\abcd.default-release";

// A Chrome and a Firefox profile seeded below the scratch folder.
BrowserProfile SeededProfile(const Roots& r, BrowserFamily family) {
    if (family == BrowserFamily::Chromium) {
        SeedChromiumProfile(r.scratch / kChromeProfile, r.scratch / kChromeProfile);
    } else {
        SeedFirefoxProfile(r.scratch / kFirefoxProfile, r.scratch / kFirefoxCache);
        WriteProfilesIni(r.scratch / L"roaming\\Mozilla\\Firefox", {{L"default-release", L"Profiles/abcd.default-release"}});
    }
    for (const BrowserProfile& p : FindBrowserProfiles(r.roots))
        if (p.family == family) return p;
    ADD_FAILURE() << "no profile found";
    return {};
}

struct Expect {
    const wchar_t* file;  // below the scratch folder
    const char* query;
    const char* rows;
};

struct KindCase {
    const char* name;
    BrowserFamily family;
    TraceKind kind;
    std::vector<const wchar_t*> changed;  // files whose bytes change or that go, below the scratch folder
    std::vector<Expect> expects;
    const char* goneText;  // no longer anywhere in the changed databases' bytes
    long long rows, kept;
};

const std::wstring C = kChromeProfile, F = kFirefoxProfile;
const std::wstring CHistory = C + L"\\History", CCookies = C + L"\\Network\\Cookies", CWebData = C + L"\\Web Data",
                   CTopSites = C + L"\\Top Sites", FPlaces = F + L"\\places.sqlite", FCookies = F + L"\\cookies.sqlite",
                   FForms = F + L"\\formhistory.sqlite";
const std::wstring CSession = C + L"\\Sessions\\Session_13300000000000000", CCache = C + L"\\Cache\\Cache_Data\\data_0",
                   FSession = F + L"\\sessionstore.jsonlz4", FRecovery = F + L"\\sessionstore-backups\\recovery.jsonlz4",
                   FCache = std::wstring(kFirefoxCache) + L"\\cache2\\entries\\ABCDEF";
const char kFirefoxVisits[] = "SELECT place_id || ':' || visit_type FROM moz_historyvisits ORDER BY id";

const std::vector<KindCase> kKindCases = {
    {"chromium history", BrowserFamily::Chromium, TraceKind::History, {CHistory.c_str(), CTopSites.c_str()},
     {{CHistory.c_str(), "SELECT (SELECT COUNT(*) FROM visits) + (SELECT COUNT(*) FROM urls) + (SELECT COUNT(*) FROM "
                         "keyword_search_terms) + (SELECT COUNT(*) FROM segments) + (SELECT COUNT(*) FROM visit_source)", "0"},
      {CHistory.c_str(), "SELECT id || tab_url FROM downloads", "1https://downloads-page.example/"},
      {CHistory.c_str(), "SELECT value FROM meta", "67"},
      {CTopSites.c_str(), "SELECT COUNT(*) FROM top_sites", "0"}},
     kVisitedMarker, 3, 0},
    {"chromium downloads", BrowserFamily::Chromium, TraceKind::Downloads, {CHistory.c_str()},
     {{CHistory.c_str(), "SELECT (SELECT COUNT(*) FROM downloads) + (SELECT COUNT(*) FROM downloads_url_chains)", "0"},
      {CHistory.c_str(), "SELECT id FROM visits", "1,2,3"}},
     "downloads-page.example", 1, 0},
    {"chromium cookies", BrowserFamily::Chromium, TraceKind::Cookies, {CCookies.c_str()},
     {{CCookies.c_str(), "SELECT host_key FROM cookies ORDER BY creation_utc", ".example.com,www.example.com"},
      {CCookies.c_str(), "SELECT value FROM meta", "21"}},
     kCookieMarker, 3, 2},
    {"chromium forms", BrowserFamily::Chromium, TraceKind::Forms, {CWebData.c_str()},
     {{CWebData.c_str(), "SELECT COUNT(*) FROM autofill", "0"},
      {CWebData.c_str(), "SELECT guid || name_on_card FROM credit_cards", "C1Card Holder"},
      {CWebData.c_str(), "SELECT keyword FROM keywords", "s"}},
     kFormMarker, 2, 0},
    {"chromium sessions", BrowserFamily::Chromium, TraceKind::Sessions, {CSession.c_str()}, {}, nullptr, 1, 0},
    {"chromium cache", BrowserFamily::Chromium, TraceKind::Cache, {CCache.c_str()}, {}, nullptr, 1, 0},
    {"firefox history", BrowserFamily::Firefox, TraceKind::History, {FPlaces.c_str()},
     {{FPlaces.c_str(), "SELECT url FROM moz_places ORDER BY id",
       "https://bookmarked.example/,https://keyword.example/?q=%s,https://downloads-page.example/setup.exe"},
      {FPlaces.c_str(), kFirefoxVisits, "4:7"},
      {FPlaces.c_str(), "SELECT visit_count || ':' || typed || ':' || IFNULL(last_visit_date, 'none') FROM moz_places WHERE id = 2",
       "0:0:none"},
      {FPlaces.c_str(), "SELECT fk FROM moz_bookmarks ORDER BY id", "NULL,2"},
      {FPlaces.c_str(), "SELECT keyword || place_id FROM moz_keywords", "s3"},
      {FPlaces.c_str(), "SELECT COUNT(*) FROM moz_inputhistory", "0"},
      {FPlaces.c_str(), "SELECT id FROM moz_origins ORDER BY id", "2,3,4"},
      {FPlaces.c_str(), "SELECT COUNT(*) FROM moz_annos", "2"}},
     kVisitedMarker, 3, 0},
    {"firefox downloads", BrowserFamily::Firefox, TraceKind::Downloads, {FPlaces.c_str()},
     {{FPlaces.c_str(), "SELECT COUNT(*) FROM moz_annos", "0"},
      {FPlaces.c_str(), kFirefoxVisits, "1:1,1:2,2:1"},
      {FPlaces.c_str(), "SELECT id FROM moz_places ORDER BY id", "1,2,3"},
      {FPlaces.c_str(), "SELECT name FROM moz_anno_attributes ORDER BY id", "downloads/destinationFileURI,downloads/metaData"}},
     "downloads-page.example", 1, 0},
    {"firefox cookies", BrowserFamily::Firefox, TraceKind::Cookies, {FCookies.c_str()},
     {{FCookies.c_str(), "SELECT host FROM moz_cookies ORDER BY id", ".example.com,WWW.Example.COM"}},
     kCookieMarker, 2, 2},
    {"firefox forms", BrowserFamily::Firefox, TraceKind::Forms, {FForms.c_str()},
     {{FForms.c_str(), "SELECT COUNT(*) FROM moz_formhistory", "0"},
      {FForms.c_str(), "SELECT guid FROM moz_deleted_formhistory", "old"}},
     kFormMarker, 2, 0},
    {"firefox sessions", BrowserFamily::Firefox, TraceKind::Sessions, {FSession.c_str(), FRecovery.c_str()}, {}, nullptr, 2, 0},
    {"firefox cache", BrowserFamily::Firefox, TraceKind::Cache, {FCache.c_str()}, {}, nullptr, 1, 0},
};

TEST(BrowserCleaning, EachKindChangesExactlyItsRowsAndFiles) {
    for (const KindCase& c : kKindCases) {
        SCOPED_TRACE(c.name);
        Roots r;
        BrowserProfile profile = SeededProfile(r, c.family);
        auto before = Snapshot(r.scratch.Path());
        TraceKinds kinds;
        kinds.Set(c.kind, true);
        ProfileReport report = CleanProfile(profile, kinds, CKeepList(L"example.com"));
        EXPECT_TRUE(report.AllDone()) << (report.left.empty() ? "in use" : win::ToNarrow(report.left[0].detail));
        EXPECT_EQ(report.Of(c.kind).rows, c.rows);
        EXPECT_EQ(report.Of(c.kind).kept, c.kept);
        for (const Expect& e : c.expects) EXPECT_EQ(QueryRows(r.scratch / e.file, e.query), e.rows) << e.query;
        std::map<std::wstring, std::string> expectedChanges;
        for (const wchar_t* file : c.changed) expectedChanges[file] = before.count(file) ? "changed" : "?";
        auto after = Snapshot(r.scratch.Path());
        auto changes = Differences(before, after);
        std::vector<std::wstring> changedFiles, expectedFiles(c.changed.begin(), c.changed.end());
        for (const auto& [path, how] : changes) changedFiles.push_back(path);
        std::sort(expectedFiles.begin(), expectedFiles.end());
        EXPECT_EQ(changedFiles, expectedFiles);
        // Firefox keeps places.sqlite in write-ahead-log mode (header byte 18 is 2): so does a clean.
        if (c.family == BrowserFamily::Firefox) EXPECT_EQ(ReadFileBytes(r.scratch / FPlaces).substr(18, 1), "\x02");
        if (c.goneText)
            for (const wchar_t* file : c.changed)
                EXPECT_EQ(ReadFileBytes(r.scratch / file).find(c.goneText), std::string::npos) << win::ToNarrow(file);
    }
}

TEST(BrowserCleaning, APreviewCountsWhatACleanWouldRemoveAndChangesNothing) {
    Roots r;
    BrowserProfile chrome = SeededProfile(r, BrowserFamily::Chromium);
    BrowserProfile firefox = SeededProfile(r, BrowserFamily::Firefox);
    auto before = Snapshot(r.scratch.Path());
    const TraceKinds all = TraceKinds::FromMask(0x3f);
    for (const auto& [profile, expected] :
         {std::pair{chrome, "3 1 3/2 2 1 1"}, std::pair{firefox, "3 1 2/2 2 2 1"}}) {
        ProfileReport report = PreviewProfile(profile, all, CKeepList(L"example.com"));
        ASSERT_TRUE(report.AllDone());
        std::string counts;
        for (TraceKind kind : kAllTraceKinds) {
            counts += (counts.empty() ? "" : " ") + std::to_string(report.Of(kind).rows);
            if (kind == TraceKind::Cookies) counts += "/" + std::to_string(report.Of(kind).kept);
        }
        EXPECT_EQ(counts, expected) << win::ToNarrow(profile.browser);
    }
    EXPECT_TRUE(Differences(before, Snapshot(r.scratch.Path())).empty());
}

}  // namespace
