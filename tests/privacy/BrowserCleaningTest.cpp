// Browser profiles found, previewed and cleaned on real databases made with
// the program's own SQLite in scratch folders of the prefix.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "clean/CleanTestSupport.h"
#include "policy/Policies.h"
#include "privacy/browsers/BrowserCleaning.h"
#include "privacy/browsers/CookiesKillerRow.h"
#include "privacy/browsers/ProfileLock.h"
#include "privacy/browsers/KeepList.h"
#include "privacy/browsers/Profiles.h"
#include "support/BrowserSeeds.h"
#include "support/ScopedRegistry.h"
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
        // The forms users write: a wildcard, a pasted URL with a user, a bracketed address.
        {L"*.example.com", "www.example.com", true},
        {L"*.example.com", ".example.com", true},
        {L"*.example.com", "badexample.com", false},
        {L"https://me@Mail.Example.org/inbox?x=1#top", "mail.example.org", true},
        {L"[::1]", "[::1]", true},
        {L"[::1]:8080", "::1", true},
        {L"::1", "[::1]", true},
        // A kept site keeps the domain cookies it receives, no others.
        {L"keep.example.com", ".example.com", true},
        {L"keep.example.com", "example.com", false},        // a host-only cookie of the parent is not sent to it
        {L"keep.example.com", ".other.example.com", false},
        {L"keep.example.com", ".com", false},
        {L"keep.example.com", ".www.keep.example.com", true},
        {L"10.0.0.1", ".0.0.1", false},
    };
    for (const auto& c : cases) {
        CKeepList keep(c.keep);
        EXPECT_EQ(keep.Keeps(c.host), c.kept) << win::ToNarrow(c.keep) << " / " << c.host;
    }
}

// The scratch folder's roots: "roaming" and "local" below it.
struct Roots {
    ScratchFolder scratch{L"browsers"};
    BrowserRoots roots{scratch / L"roaming", scratch / L"local", scratch.Path()};
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
                      {L"gone", L"Profiles/missing"}});
    std::vector<std::wstring> found;
    for (const BrowserProfile& p : FindBrowserProfiles(r.roots))
        found.push_back(p.browser + L"|" + p.name + L"|" + r.Relative(p.folder) + L"|" + r.Relative(p.cacheFolder) +
                        L"|" + r.Relative(p.lockFile) + (p.outside ? L"|outside" : L""));
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

// profiles.ini is the user's to write: a path of its own choosing is
// followed only into the user's own folder.
TEST(BrowserProfiles, AFirefoxProfileOutsideTheUsersFolderIsListedAsRefusedAndNeverLookedInto) {
    Roots r;
    ScratchFolder elsewhere{L"browsers-elsewhere"};  // beside the user's folder, as another user's would be
    SeedFirefoxProfile(elsewhere / L"theirs", elsewhere / L"theirs");
    MakeFolders(r.scratch / L"mine");
    const struct {
        const wchar_t* name;
        bool relative;
        std::wstring path;
        bool outside;
    } cases[] = {
        {L"absolute outside", false, elsewhere / L"theirs", true},
        {L"climbs outside", true, L"../../../../" + elsewhere.Path().substr(elsewhere.Path().rfind(L'\\') + 1) + L"/theirs", true},
        {L"absolute inside", false, r.scratch / L"mine", false},
        {L"climbs inside", true, L"../../../mine", false},
    };
    std::string ini = "[General]\r\nStartWithLastProfile=1\r\n";
    int n = 0;
    for (const auto& c : cases)
        ini += "\r\n[Profile" + std::to_string(n++) + "]\r\nName=" + win::ToNarrow(c.name) + "\r\nIsRelative=" +
               (c.relative ? "1" : "0") + "\r\nPath=" + win::ToNarrow(c.path) + "\r\n";
    MakeFolders(r.scratch / L"roaming\\Mozilla\\Firefox");
    WriteFileBytes(r.scratch / L"roaming\\Mozilla\\Firefox\\profiles.ini", ini);
    std::vector<BrowserProfile> profiles = FindBrowserProfiles(r.roots);
    ASSERT_EQ(profiles.size(), std::size(cases));
    auto before = Snapshot(elsewhere.Path());
    for (const auto& c : cases) {
        auto p = std::find_if(profiles.begin(), profiles.end(), [&](const BrowserProfile& b) { return b.name == c.name; });
        ASSERT_NE(p, profiles.end()) << win::ToNarrow(c.name);
        EXPECT_EQ(p->outside, c.outside) << win::ToNarrow(c.name);
        for (ProfileReport report : {PreviewProfile(*p, TraceKinds::FromMask(0x3f), {}),
                                     CleanProfile(*p, TraceKinds::FromMask(0x3f), {})})
            EXPECT_EQ(report.refused, c.outside ? Refusal::Outside : Refusal::None) << win::ToNarrow(c.name);
    }
    EXPECT_TRUE(Differences(before, Snapshot(elsewhere.Path())).empty());
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

// What one kind does to a seeded profile: what holds after a clean that
// chose it, what holds after one that did not, the files it changes or
// removes, and the files from whose bytes the visited marker must be gone.
struct KindEffect {
    TraceKind kind;
    std::vector<Expect> cleaned, kept;
    std::vector<std::wstring> changed;
    std::vector<std::wstring> markerGone;
    long long rows, keptCookies;
};

struct FamilyCase {
    BrowserFamily family;
    std::vector<KindEffect> kinds;
    std::vector<Expect> always;  // never changes, whatever is chosen
};

const std::wstring C = kChromeProfile, F = kFirefoxProfile, FC = kFirefoxCache;
const std::wstring CHistory = C + L"\\History", CFavicons = C + L"\\Favicons", CCookies = C + L"\\Network\\Cookies",
                   CWebData = C + L"\\Web Data", CTopSites = C + L"\\Top Sites", CShortcuts = C + L"\\Shortcuts",
                   CPredictor = C + L"\\Network Action Predictor", CVisited = C + L"\\Visited Links",
                   CLogins = C + L"\\Login Data";
const std::wstring FPlaces = F + L"\\places.sqlite", FFavicons = F + L"\\favicons.sqlite",
                   FCookies = F + L"\\cookies.sqlite", FForms = F + L"\\formhistory.sqlite";
const std::wstring CSession = C + L"\\Sessions\\Session_13300000000000000", CCache = C + L"\\Cache\\Cache_Data\\data_0",
                   FSession = F + L"\\sessionstore.jsonlz4", FRecovery = F + L"\\sessionstore-backups\\recovery.jsonlz4",
                   FCache = FC + L"\\cache2\\entries\\ABCDEF";
const char kHistoryRows[] =
    "SELECT (SELECT COUNT(*) FROM visits) + (SELECT COUNT(*) FROM urls) + (SELECT COUNT(*) FROM keyword_search_terms)"
    " + (SELECT COUNT(*) FROM segments) + (SELECT COUNT(*) FROM segment_usage) + (SELECT COUNT(*) FROM visit_source)"
    " + (SELECT COUNT(*) FROM visited_links) + (SELECT COUNT(*) FROM content_annotations)"
    " + (SELECT COUNT(*) FROM context_annotations) + (SELECT COUNT(*) FROM clusters)"
    " + (SELECT COUNT(*) FROM clusters_and_visits) + (SELECT COUNT(*) FROM cluster_keywords)"
    " + (SELECT COUNT(*) FROM cluster_visit_duplicates)";
const char kIconRows[] =
    "SELECT (SELECT COUNT(*) FROM icon_mapping) + (SELECT COUNT(*) FROM favicons) + (SELECT COUNT(*) FROM favicon_bitmaps)";

const std::vector<FamilyCase> kFamilies = {
    {BrowserFamily::Chromium,
     {{TraceKind::History,
       {{CHistory.c_str(), kHistoryRows, "0"}, {CFavicons.c_str(), kIconRows, "0"},
        {CTopSites.c_str(), "SELECT COUNT(*) FROM top_sites", "0"},
        {CShortcuts.c_str(), "SELECT COUNT(*) FROM omni_box_shortcuts", "0"},
        {CPredictor.c_str(), "SELECT COUNT(*) FROM network_action_predictor", "0"}},
       {{CHistory.c_str(), kHistoryRows, "16"}, {CFavicons.c_str(), kIconRows, "6"}},
       {CHistory, CFavicons, CTopSites, CShortcuts, CPredictor, CVisited},
       {CHistory, CFavicons, CTopSites, CShortcuts, CPredictor},
       3, 0},
      {TraceKind::Downloads,
       {{CHistory.c_str(), "SELECT (SELECT COUNT(*) FROM downloads) + (SELECT COUNT(*) FROM downloads_url_chains)"
                           " + (SELECT COUNT(*) FROM downloads_slices)", "0"}},
       {{CHistory.c_str(), "SELECT id || tab_url FROM downloads", "1https://downloads-page.example/"}},
       {CHistory},
       {},
       1, 0},
      {TraceKind::Cookies,
       {{CCookies.c_str(), "SELECT host_key FROM cookies ORDER BY creation_utc", ".example.com,www.example.com"}},
       {{CCookies.c_str(), "SELECT COUNT(*) FROM cookies", "5"}},
       {CCookies},
       {},
       3, 2},
      {TraceKind::Forms,
       {{CWebData.c_str(), "SELECT (SELECT COUNT(*) FROM autofill) + (SELECT COUNT(*) FROM autofill_dates)", "0"}},
       {{CWebData.c_str(), "SELECT COUNT(*) FROM autofill", "2"}},
       {CWebData},
       {},
       2, 0},
      {TraceKind::Sessions, {}, {}, {CSession}, {}, 1, 0},
      {TraceKind::Cache, {}, {}, {CCache}, {}, 1, 0}},
     {{CHistory.c_str(), "SELECT value FROM meta", "67"},
      {CCookies.c_str(), "SELECT value FROM meta", "21"},
      {CWebData.c_str(), "SELECT guid || name_on_card FROM credit_cards", "C1Card Holder"},
      {CWebData.c_str(), "SELECT keyword FROM keywords", "s"},
      {CLogins.c_str(), "SELECT origin_url FROM logins", "https://visited-secret.example/login"}}},
    {BrowserFamily::Firefox,
     {{TraceKind::History,
       {{FPlaces.c_str(), "SELECT COUNT(*) FROM moz_historyvisits WHERE visit_type <> 7", "0"},
        {FPlaces.c_str(), "SELECT COUNT(*) FROM moz_places WHERE url LIKE '%visited-secret%'", "0"},
        {FPlaces.c_str(), "SELECT (SELECT COUNT(*) FROM moz_inputhistory) + (SELECT COUNT(*) FROM moz_places_metadata)"
                          " + (SELECT COUNT(*) FROM moz_places_metadata_search_queries)", "0"},
        {FPlaces.c_str(), "SELECT visit_count || ':' || typed || ':' || IFNULL(last_visit_date, 'none') FROM moz_places"
                          " WHERE id = 2", "0:0:none"},
        {FFavicons.c_str(), "SELECT page_url FROM moz_pages_w_icons", "https://bookmarked.example/"},
        {FFavicons.c_str(), "SELECT id FROM moz_icons", "2"},
        {FFavicons.c_str(), "SELECT page_id || ':' || icon_id FROM moz_icons_to_pages", "2:2"}},
       {{FPlaces.c_str(), "SELECT COUNT(*) FROM moz_historyvisits WHERE visit_type <> 7", "3"},
        {FFavicons.c_str(), "SELECT COUNT(*) FROM moz_pages_w_icons", "2"}},
       {FPlaces, FFavicons},
       {FPlaces, FFavicons},
       3, 0},
      {TraceKind::Downloads,
       {{FPlaces.c_str(), "SELECT COUNT(*) FROM moz_annos", "0"},
        {FPlaces.c_str(), "SELECT COUNT(*) FROM moz_historyvisits WHERE visit_type = 7", "0"},
        // The download's place and URL go, whatever else was chosen with it.
        {FPlaces.c_str(), "SELECT COUNT(*) FROM moz_places WHERE url LIKE '%downloads-page%'", "0"},
        {FPlaces.c_str(), "SELECT COUNT(*) FROM moz_origins WHERE host = 'downloads-page.example'", "0"}},
       {{FPlaces.c_str(), "SELECT COUNT(*) FROM moz_annos", "2"}},
       {FPlaces},
       {},
       1, 0},
      {TraceKind::Cookies,
       {{FCookies.c_str(), "SELECT host FROM moz_cookies ORDER BY id", ".example.com,WWW.Example.COM"}},
       {{FCookies.c_str(), "SELECT COUNT(*) FROM moz_cookies", "4"}},
       {FCookies},
       {},
       2, 2},
      {TraceKind::Forms,
       {{FForms.c_str(), "SELECT (SELECT COUNT(*) FROM moz_formhistory) + (SELECT COUNT(*) FROM moz_sources)"
                         " + (SELECT COUNT(*) FROM moz_history_to_sources)", "0"}},
       {{FForms.c_str(), "SELECT COUNT(*) FROM moz_formhistory", "2"}},
       {FForms},
       {},
       2, 0},
      {TraceKind::Sessions, {}, {}, {FSession, FRecovery}, {}, 2, 0},
      {TraceKind::Cache, {}, {}, {FCache}, {}, 1, 0}},
     {{FPlaces.c_str(), "SELECT fk FROM moz_bookmarks ORDER BY id", "NULL,2"},
      {FPlaces.c_str(), "SELECT keyword || place_id FROM moz_keywords", "s3"},
      {FPlaces.c_str(), "SELECT url FROM moz_places WHERE id IN (2, 3) ORDER BY id",
       "https://bookmarked.example/,https://keyword.example/?q=%s"},
      {FForms.c_str(), "SELECT guid FROM moz_deleted_formhistory", "old"}}},
};

// Puts the files of a snapshot back below `folder`, after clearing it.
void Restore(const std::wstring& folder, const std::map<std::wstring, std::string>& files) {
    RemoveTree(folder);
    for (const auto& [path, bytes] : files) {
        std::wstring full = folder + L"\\" + path;
        MakeFolders(full.substr(0, full.rfind(L'\\')));
        WriteFileBytes(full, bytes);
    }
}

// Every combination of kinds, cleaned over one seeded profile per family:
// each chosen kind does all it does and no more, whatever it is chosen with.
TEST(BrowserCleaning, EveryCombinationOfKindsDoesExactlyWhatEachKindDoes) {
    for (const FamilyCase& family : kFamilies) {
        Roots r;
        BrowserProfile profile = SeededProfile(r, family.family);
        const auto seeded = Snapshot(r.scratch.Path());
        for (unsigned mask = 1; mask < (1u << kTraceKinds); ++mask) {
            SCOPED_TRACE(std::string(family.family == BrowserFamily::Firefox ? "firefox" : "chromium") + " kinds " +
                         std::to_string(mask));
            Restore(r.scratch.Path(), seeded);
            TraceKinds kinds = TraceKinds::FromMask(mask);
            ProfileReport report = CleanProfile(profile, kinds, CKeepList(L"example.com"));
            ASSERT_TRUE(report.AllDone()) << (report.left.empty() ? "in use" : win::ToNarrow(report.left[0].detail));
            std::set<std::wstring> expectedChanged;
            for (const KindEffect& effect : family.kinds) {
                const bool chosen = kinds.Has(effect.kind);
                EXPECT_EQ(report.Of(effect.kind).rows, chosen ? effect.rows : 0) << win::ToNarrow(TraceKindName(effect.kind));
                EXPECT_EQ(report.Of(effect.kind).kept, chosen ? effect.keptCookies : 0);
                for (const Expect& e : chosen ? effect.cleaned : effect.kept)
                    EXPECT_EQ(QueryRows(r.scratch / e.file, e.query), e.rows) << e.query;
                if (!chosen) continue;
                expectedChanged.insert(effect.changed.begin(), effect.changed.end());
                for (const std::wstring& file : effect.markerGone)
                    EXPECT_EQ(ReadFileBytes(r.scratch / file).find(kVisitedMarker), std::string::npos) << win::ToNarrow(file);
            }
            for (const Expect& e : family.always) EXPECT_EQ(QueryRows(r.scratch / e.file, e.query), e.rows) << e.query;
            std::set<std::wstring> changed;
            for (const auto& [path, how] : Differences(seeded, Snapshot(r.scratch.Path()))) changed.insert(path);
            EXPECT_EQ(changed, expectedChanged);
            // Firefox keeps its databases in write-ahead-log mode (header byte 18 is 2): so does a clean.
            if (family.family == BrowserFamily::Firefox) {
                for (const std::wstring& file : {FPlaces, FFavicons})
                    EXPECT_EQ(ReadFileBytes(r.scratch / file).substr(18, 1), "\x02");
            }
        }
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

// A database, or a companion of it, that is a hard link to a file elsewhere
// or a link is never opened to write, in a look or a clean: it is told, the
// file elsewhere keeps its bytes, and the other databases are cleaned.
TEST(BrowserCleaning, ADatabaseOrCompanionThatIsALinkOrHasManyNamesIsLeftAndTold) {
    const struct {
        const char* name;
        BrowserFamily family;
        std::wstring database;  // relative to the scratch folder
        const wchar_t* file;    // the database itself, or a companion's suffix
        bool hardLink;
        TraceKind kind;
    } cases[] = {
        {"hard-linked History", BrowserFamily::Chromium, CHistory, L"", true, TraceKind::History},
        {"hard-linked History-journal", BrowserFamily::Chromium, CHistory, L"-journal", true, TraceKind::History},
        {"hard-linked Cookies-wal", BrowserFamily::Chromium, CCookies, L"-wal", true, TraceKind::Cookies},
        {"hard-linked cookies.sqlite", BrowserFamily::Firefox, FCookies, L"", true, TraceKind::Cookies},
        {"hard-linked places.sqlite-shm", BrowserFamily::Firefox, FPlaces, L"-shm", true, TraceKind::History},
        {"linked places.sqlite-wal", BrowserFamily::Firefox, FPlaces, L"-wal", false, TraceKind::History},
        {"linked formhistory.sqlite", BrowserFamily::Firefox, FForms, L"", false, TraceKind::Forms},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Roots r;
        ScratchFolder outside{L"browsers-outside"};
        BrowserProfile profile = SeededProfile(r, c.family);
        const std::wstring database = r.scratch / c.database, linked = database + c.file;
        // The file elsewhere: a copy of the database itself, or a companion's bytes.
        const std::string canary = *c.file ? std::string(4096, 'k') : ReadFileBytes(database);
        WriteFileBytes(outside / L"elsewhere", canary);
        ::DeleteFileW(linked.c_str());
        ASSERT_TRUE(c.hardLink ? ::CreateHardLinkW(linked.c_str(), (outside / L"elsewhere").c_str(), nullptr) != FALSE
                               : clean_test::MakeLink(linked, outside / L"elsewhere", false));
        auto before = Snapshot(r.scratch.Path());
        TraceKinds kinds = TraceKinds::FromMask(0x3f);
        kinds.Set(TraceKind::Sessions, false);
        kinds.Set(TraceKind::Cache, false);
        for (bool clean : {false, true}) {
            ProfileReport report = clean ? CleanProfile(profile, kinds, CKeepList(L"example.com"))
                                         : PreviewProfile(profile, kinds, CKeepList(L"example.com"));
            EXPECT_FALSE(report.inUse);
            ASSERT_EQ(report.left.size(), 1u);
            EXPECT_EQ(report.left[0].why, LeftWhy::Unsafe);
            EXPECT_EQ(report.left[0].path, database);
            EXPECT_EQ(report.left[0].detail, linked);
            EXPECT_EQ(ReadFileBytes(outside / L"elsewhere"), canary);
        }
        // The database kept its bytes; another kind's database was cleaned.
        auto changes = Differences(before, Snapshot(r.scratch.Path()));
        EXPECT_EQ(changes.count(r.Relative(database)), 0u);
        EXPECT_FALSE(changes.empty());
        if (!c.hardLink) clean_test::RemoveLink(linked, false);
    }
}

TEST(BrowserCleaning, AProfileUnderAPathThePolicyExcludesIsLeftAndToldAndAnExcludedDatabaseStays) {
    Roots r;
    BrowserProfile chrome = SeededProfile(r, BrowserFamily::Chromium);
    BrowserProfile firefox = SeededProfile(r, BrowserFamily::Firefox);
    const std::wstring list = chrome.folder + L'\0' + (r.scratch / FCookies) + L'\0' + L'\0';
    auto policy = std::make_unique<ScopedRegistryValue>(HKEY_CURRENT_USER, kPolicyKey, L"ExcludePaths", REG_MULTI_SZ,
                                                        list.c_str(), static_cast<DWORD>(list.size() * sizeof(wchar_t)));
    RefreshPolicies();
    auto before = Snapshot(r.scratch.Path());
    const TraceKinds all = TraceKinds::FromMask(0x3f);
    EXPECT_EQ(ProfileState(chrome).refused, Refusal::Excluded);
    EXPECT_EQ(PreviewProfile(chrome, all, {}).refused, Refusal::Excluded);
    EXPECT_EQ(CleanProfile(chrome, all, {}).refused, Refusal::Excluded);
    ProfileReport report = CleanProfile(firefox, all, {});
    EXPECT_EQ(report.refused, Refusal::None);
    ASSERT_EQ(report.left.size(), 1u);
    EXPECT_EQ(report.left[0].why, LeftWhy::Excluded);
    EXPECT_EQ(report.left[0].path, r.scratch / FCookies);
    std::set<std::wstring> changed;
    for (const auto& [path, how] : Differences(before, Snapshot(r.scratch.Path()))) changed.insert(path);
    for (const std::wstring& path : changed) {
        EXPECT_EQ(path.rfind(C, 0), std::wstring::npos) << win::ToNarrow(path);
        EXPECT_NE(path, FCookies);
    }
    EXPECT_TRUE(changed.count(FPlaces));
    policy.reset();
    RefreshPolicies();
}

// A Chromium start takes its lockfile with writing and reading shared; a
// Firefox start its parent.lock with nothing shared.
bool BrowserCouldStart(const std::wstring& lockFile, DWORD access, DWORD share) {
    HANDLE start = ::CreateFileW(lockFile.c_str(), access, share, nullptr, OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (start == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(start);
    return true;
}

TEST(ProfileLock, ACleanHoldsTheBrowsersOwnLockSoNoBrowserStartsAndAMadeLockGoesWithIt) {
    ScratchFolder folder{L"browsers-lock"};
    const std::wstring lockFile = folder / L"lockfile";
    {
        CProfileLock look(lockFile, CProfileLock::Missing::LeaveAlone);
        EXPECT_FALSE(look.HeldElsewhere());
        EXPECT_FALSE(FullPathExists(lockFile));  // a look makes nothing
    }
    {
        CProfileLock lock(lockFile, CProfileLock::Missing::Make);
        EXPECT_FALSE(lock.HeldElsewhere());
        EXPECT_TRUE(FullPathExists(lockFile));
        EXPECT_FALSE(BrowserCouldStart(lockFile, GENERIC_WRITE, FILE_SHARE_READ));  // Chromium
        EXPECT_FALSE(BrowserCouldStart(lockFile, GENERIC_READ, 0));                 // Firefox
        EXPECT_TRUE(IsProfileLockHeld(lockFile));
    }
    EXPECT_FALSE(FullPathExists(lockFile));
    // A lock file left behind is held as it is, and stays.
    WriteFileBytes(lockFile, "");
    {
        CProfileLock lock(lockFile, CProfileLock::Missing::Make);
        EXPECT_FALSE(lock.HeldElsewhere());
        EXPECT_FALSE(BrowserCouldStart(lockFile, GENERIC_WRITE, FILE_SHARE_READ));
    }
    EXPECT_TRUE(FullPathExists(lockFile));
}

// The listing tells the state a clean will meet: a database another process
// keeps from being opened, or that a browser's SQLite holds locked, makes
// the profile "in use" in both.
TEST(BrowserCleaning, AHeldDatabaseIsInUseForTheListingAndTheCleanAlike) {
    for (bool sqliteLock : {false, true}) {
        SCOPED_TRACE(sqliteLock ? "locked by SQLite" : "opened without sharing");
        Roots r;
        BrowserProfile chrome = SeededProfile(r, BrowserFamily::Chromium);
        EXPECT_FALSE(ProfileState(chrome).inUse);
        auto before = Snapshot(r.scratch.Path());
        ChildProcess holder;
        sqlite3* browser = nullptr;
        if (sqliteLock) {
            // As Chromium keeps History: exclusive locking, held from the first read.
            sqlite3_open_v2(win::ToNarrow(r.scratch / CHistory, CP_UTF8).c_str(), &browser, SQLITE_OPEN_READWRITE, nullptr);
            ASSERT_EQ(sqlite3_exec(browser, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; SELECT COUNT(*) FROM visits;",
                                   nullptr, nullptr, nullptr), SQLITE_OK);
        } else {
            holder = HoldFileOpen(r.scratch / CHistory);
        }
        TraceKinds history;
        history.Set(TraceKind::History, true);
        EXPECT_TRUE(ProfileState(chrome).inUse);
        EXPECT_TRUE(PreviewProfile(chrome, history, {}).inUse);
        EXPECT_TRUE(CleanProfile(chrome, history, {}).inUse);
        if (browser) sqlite3_close(browser);
        if (!sqliteLock) {
            holder.Kill();
            holder.Wait(5000);
        }
        EXPECT_TRUE(Differences(before, Snapshot(r.scratch.Path())).empty());
    }
}

TEST(BrowserCleaning, AKeptSiteNoCookieMatchesIsTold) {
    Roots r;
    BrowserProfile chrome = SeededProfile(r, BrowserFamily::Chromium);
    BrowserProfile firefox = SeededProfile(r, BrowserFamily::Firefox);
    CKeepList keep(L"*.example.com\r\nnothing-here.example\r\nhttps://tracker-secret.example/x\r\n[::1]");
    TraceKinds cookies;
    cookies.Set(TraceKind::Cookies, true);
    std::vector<ProfileReport> reports{PreviewProfile(chrome, cookies, keep), PreviewProfile(firefox, cookies, keep)};
    EXPECT_EQ(UnmatchedKeepEntries(keep, reports), (std::vector<std::string>{"nothing-here.example", "::1"}));
    EXPECT_TRUE(UnmatchedKeepEntries(keep, {PreviewProfile(chrome, TraceKinds::FromMask(1), keep)}).empty());
}

// What Cookies Killer's row does with a keep-list in force: a cookie
// database of a known layout (or a companion of one) is cleaned around the
// kept sites; anything else is left to the usual removal.
class NoteReport : public IRemovalReport {
public:
    void Removing(const std::wstring&) override {}
    void Left(const std::wstring& path, LeftReason reason) override { told += L"left " + std::wstring(LeftReasonText(reason)); }
    void Cleaned(const std::wstring&, const std::wstring& note) override { told += note; }
    std::wstring told;
};

TEST(CookiesKillerRow, AKnownCookieDatabaseIsCleanedAroundTheKeptSitesAndNothingElseIsTouched) {
    Roots r;
    SeededProfile(r, BrowserFamily::Chromium);
    SeededProfile(r, BrowserFamily::Firefox);
    WriteFileBytes(r.scratch / (C + L"\\Cookies"), "not SQLite: an old cookie file");
    WriteFileBytes(r.scratch / (F + L"\\cookies.txt"), "# Netscape HTTP Cookie File");
    const struct {
        std::wstring path;
        bool understood;
        const wchar_t* told;
        std::wstring database;  // and its hosts afterwards
        const char* hosts;
    } cases[] = {
        {CCookies, true, L"cookies cleaned, 2 kept", CCookies, ".example.com,www.example.com"},
        {FCookies + L"-wal", true, L"cookies cleaned, 2 kept", FCookies, ".example.com,WWW.Example.COM"},
        {FCookies, true, L"cookies cleaned, 2 kept", FCookies, ".example.com,WWW.Example.COM"},
        {C + L"\\Cookies", false, L"", L"", ""},
        {F + L"\\cookies.txt", false, L"", L"", ""},
        {CHistory, false, L"", L"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(win::ToNarrow(c.path));
        auto before = Snapshot(r.scratch.Path());
        NoteReport report;
        EXPECT_EQ(CleanCookieRow(r.scratch / c.path, CKeepList(L"example.com"), report), c.understood);
        EXPECT_EQ(report.told, c.told);
        if (!c.understood) EXPECT_TRUE(Differences(before, Snapshot(r.scratch.Path())).empty());
        else EXPECT_EQ(QueryRows(r.scratch / c.database, c.database == CCookies ? "SELECT host_key FROM cookies ORDER BY creation_utc"
                                                                                 : "SELECT host FROM moz_cookies ORDER BY id"),
                       c.hosts);
    }
}

}  // namespace
