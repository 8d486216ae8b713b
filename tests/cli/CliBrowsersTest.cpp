// "brisko-cli browsers" on a Chrome and a Firefox profile seeded into the
// prefix's application-data folders.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "clean/CleanTestSupport.h"
#include "cli/CliRun.h"
#include "i18n/LanguageChoice.h"
#include "policy/Policies.h"
#include "support/BrowserSeeds.h"
#include "support/ScopedRegistry.h"
#include "support/TestSupport.h"
#include "win/Text.h"

using namespace testing_support;

namespace {

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
    return path;
}

bool Holds(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

class CliBrowsers : public ::testing::Test {
protected:
    void SetUp() override {
        SeedChromiumProfile(chrome, chrome);
        SeedFirefoxProfile(firefox, firefoxCache);
        WriteProfilesIni(roaming + L"\\Mozilla\\Firefox", {{L"default-release", L"Profiles/abcd.default-release"}});
    }
    void TearDown() override {
        RemoveTree(local + L"\\Google");
        RemoveTree(roaming + L"\\Mozilla");
        RemoveTree(local + L"\\Mozilla");
    }
    std::map<std::wstring, std::string> Files() const {
        auto files = Snapshot(chrome);
        for (auto& [path, bytes] : Snapshot(firefox)) files[L"firefox\\" + path] = bytes;
        return files;
    }
    const std::wstring roaming = SpecialFolder(CSIDL_APPDATA), local = SpecialFolder(CSIDL_LOCAL_APPDATA);
    const std::wstring chrome = local + L"\\Google\\Chrome\\User Data\\Default";
    const std::wstring firefox = roaming + L"\\Mozilla\\Firefox\\Profiles\\abcd.default-release";
    const std::wstring firefoxCache = local + L"\\Mozilla\\Firefox\\Profiles\\abcd.default-release";
};

TEST_F(CliBrowsers, TheListingIsStrictJsonAndADryRunOrABadCommandLineChangesNothing) {
    auto before = Files();
    CliRun list = RunCli(L"browsers --json");
    EXPECT_EQ(list.exitCode, 0) << list.err;
    ASSERT_EQ(Lines(list.out).size(), 2u) << list.out;
    for (const std::wstring& line : Lines(list.out)) EXPECT_TRUE(JsonReader(line).WholeIsOneObject()) << line;
    EXPECT_TRUE(Holds(Lines(list.out)[0], L"\"browser\":\"Google Chrome\",\"key\":\"chrome\",\"profile\":\"Default\"")) << list.out;
    EXPECT_TRUE(Holds(Lines(list.out)[0], L"\"state\":\"ready\",\"counts\":{\"history\":{\"count\":3},"
                                          L"\"downloads\":{\"count\":1},\"cookies\":{\"count\":5,\"kept\":0},"
                                          L"\"forms\":{\"count\":2},\"sessions\":{\"count\":1,\"bytes\":9},"
                                          L"\"cache\":{\"count\":1,\"bytes\":3000}},\"left\":[]}"))
        << list.out;
    EXPECT_TRUE(Holds(Lines(list.out)[1], L"\"profile\":\"default-release\"")) << list.out;

    CliRun text = RunCli(L"browsers --browser firefox");
    EXPECT_EQ(text.out, L"Firefox / default-release: history 3 visits, downloads 1 download, cookies 4 (0 kept), "
                        L"forms 2 entries, sessions 2 items (28 bytes), cache 1 item (2.0 KB (2,000 bytes))\n");

    CliRun dry = RunCli(L"browsers clean --dry-run --json --cookies --history --keep-cookies example.com");
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    for (const std::wstring& line : Lines(dry.out)) EXPECT_TRUE(JsonReader(line).WholeIsOneObject()) << line;
    EXPECT_TRUE(Holds(dry.out, L"\"action\":\"would clean\",\"counts\":{\"history\":{\"count\":3},"
                               L"\"cookies\":{\"count\":3,\"kept\":2}}"))
        << dry.out;
    for (const wchar_t* bad : {L"browsers clean --bogus", L"browsers --browser netscape", L"browsers --history",
                               L"browsers clean --keep-cookies", L"browsers clean --keep-cookies-file C:\\no\\such.txt"}) {
        CliRun run = RunCli(bad);
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_TRUE(Holds(run.err, L"brisko-cli: ")) << bad;
    }
    EXPECT_TRUE(Differences(before, Files()).empty());
}

TEST_F(CliBrowsers, ARunningBrowserAndDamagedDatabasesAreLeftByteForByte) {
    WriteFileBytes(chrome + L"\\Network\\Cookies", "a text file, not SQLite at all");
    std::string webData = ReadFileBytes(chrome + L"\\Web Data");
    ASSERT_GT(webData.size(), 8192u);
    webData.replace(4096, 64, std::string(64, '\xff'));  // the header of the first table's page
    WriteFileBytes(chrome + L"\\Web Data", webData);
    // A database that is a link to one outside the profile is never opened through it.
    ScratchFolder outside{L"cli-browsers-link"};
    MakeDatabase(outside / L"Top Sites", "CREATE TABLE top_sites(url LONGVARCHAR); INSERT INTO top_sites VALUES('x');");
    ::DeleteFileW((chrome + L"\\Top Sites").c_str());
    ASSERT_TRUE(clean_test::MakeLink(chrome + L"\\Top Sites", outside / L"Top Sites", false));
    const std::string canary = ReadFileBytes(outside / L"Top Sites");
    WriteFileBytes(firefox + L"\\parent.lock", "");
    ChildProcess firefoxRuns = HoldFileOpen(firefox + L"\\parent.lock");
    auto before = Files();

    CliRun run = RunCli(L"browsers clean --history --cookies --forms --json");
    firefoxRuns.Kill();
    firefoxRuns.Wait(5000);
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    std::vector<std::wstring> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    for (const std::wstring& line : lines) EXPECT_TRUE(JsonReader(line).WholeIsOneObject()) << line;
    EXPECT_TRUE(Holds(lines[0], L"\"action\":\"left\",\"counts\":{\"history\":{\"count\":3},")) << lines[0];
    EXPECT_TRUE(Holds(lines[0], L"Cookies\",\"reason\":\"not a valid SQLite database\"")) << lines[0];
    EXPECT_TRUE(Holds(lines[0], L"Web Data\",\"reason\":\"damaged: its integrity check failed\"")) << lines[0];
    EXPECT_TRUE(Holds(lines[1], L"\"state\":\"in use\",\"action\":\"left\",\"reason\":\"in use: close the browser\"}"))
        << lines[1];
    std::vector<std::wstring> changed;
    for (const auto& [path, how] : Differences(before, Files())) changed.push_back(path);
    EXPECT_EQ(changed, (std::vector<std::wstring>{L"Favicons", L"History", L"Network Action Predictor", L"Shortcuts",
                                                  L"Visited Links"}));
    EXPECT_EQ(ReadFileBytes(outside / L"Top Sites"), canary);
    EXPECT_TRUE(Holds(lines[0], L"Top Sites\",\"reason\":\"a link or a file with more than one name: never written\""))
        << lines[0];
    clean_test::RemoveLink(chrome + L"\\Top Sites", false);
}

// One keep-list per user: the saved one unless the command line gives sites,
// and the output says which is used and which kept site matched no cookie.
TEST_F(CliBrowsers, TheSavedKeepListIsUsedUnlessTheCommandLineGivesSitesAndAnUnmatchedSiteIsTold) {
    const std::wstring section = L"software\\Brisko\\Brisko .NET\\" + ReadUserName();
    ScopedRegistryValue saved(HKEY_CURRENT_USER, section, L"browserKeepCookies", L"example.com\r\nnothing-here.example");
    const struct {
        const wchar_t* arguments;
        const wchar_t* counts;
        const wchar_t* told;
        bool unmatched;
    } cases[] = {
        {L"browsers --browser chrome --json", L"\"cookies\":{\"count\":3,\"kept\":2}",
         L"keeping the cookies of the saved list (Options > Browsers) and the policy's: 2 sites", true},
        {L"browsers --browser chrome --json --keep-cookies *.badexample.com", L"\"cookies\":{\"count\":4,\"kept\":1}",
         L"keeping the cookies of the sites given on the command line and the policy's: 1 sites (the saved list is not used)",
         false},
    };
    for (const auto& c : cases) {
        CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(Holds(run.out, c.counts)) << run.out;
        EXPECT_TRUE(Holds(run.err, c.told)) << run.err;
        EXPECT_EQ(Holds(run.err, L"kept site nothing-here.example: no cookie of any profile is kept for it"), c.unmatched)
            << run.err;
    }
}

TEST_F(CliBrowsers, AProfileOutsideTheUsersFolderIsListedAsRefusedAndACleanLeavesIt) {
    ScratchFolder elsewhere{L"cli-browsers-elsewhere"};
    SeedFirefoxProfile(elsewhere / L"theirs", elsewhere / L"theirs");
    WriteFileBytes(roaming + L"\\Mozilla\\Firefox\\profiles.ini",
                   "[Profile0]\r\nName=theirs\r\nIsRelative=0\r\nPath=" + win::ToNarrow(elsewhere / L"theirs") + "\r\n");
    auto before = Snapshot(elsewhere.Path());
    CliRun list = RunCli(L"browsers --browser firefox --json");
    EXPECT_TRUE(Holds(list.out, L"\"profile\":\"theirs\"")) << list.out;
    EXPECT_TRUE(Holds(list.out, L"\"state\":\"refused\",\"reason\":\"refused: profiles.ini names a folder outside your user folder\""))
        << list.out;
    CliRun clean = RunCli(L"browsers clean --browser firefox");
    EXPECT_EQ(clean.exitCode, 1) << clean.out << clean.err;
    EXPECT_TRUE(Differences(before, Snapshot(elsewhere.Path())).empty());
}

// Cookies Killer keeps the user's kept sites: with a keep-list a cookie
// database it understands is cleaned around them; without one it goes whole.
TEST_F(CliBrowsers, CookiesKillerCleansACookieDatabaseAroundTheKeptSitesAndDeletesItWithoutAKeepList) {
    const std::wstring cookies = firefox + L"\\cookies.sqlite";
    {
        ScopedRegistryValue saved(HKEY_CURRENT_USER, L"software\\Brisko\\Brisko .NET\\" + ReadUserName(),
                                  L"browserKeepCookies", L"example.com");
        CliRun dry = RunCli(L"clean --mode cookies --permanent --dry-run --include \"" + cookies + L"\"");
        EXPECT_TRUE(Holds(dry.out, L"would clean   " + cookies)) << dry.out;
        CliRun run = RunCli(L"clean --mode cookies --permanent --include \"" + cookies + L"\"");
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        EXPECT_TRUE(Holds(run.out, L"cleaned  " + cookies + L"  (cookies cleaned, 2 kept)")) << run.out;
        EXPECT_TRUE(Holds(run.err + run.out, L"Removed 0 items (0 bytes); cookies cleaned, 2 kept")) << run.out << run.err;
        EXPECT_EQ(QueryRows(cookies, "SELECT host FROM moz_cookies ORDER BY id"), ".example.com,WWW.Example.COM");
    }
    {
        // The policy's sites are kept the same way, with no list of the user's.
        const std::wstring sites = std::wstring(L"www.example.com") + L'\0' + L'\0';
        ScopedRegistryValue policy(HKEY_CURRENT_USER, kPolicyKey, L"KeepCookies", REG_MULTI_SZ, sites.c_str(),
                                   static_cast<DWORD>(sites.size() * sizeof(wchar_t)));
        CliRun run = RunCli(L"clean --mode cookies --permanent --include \"" + cookies + L"\"");
        // www.example.com receives the .example.com cookie too.
        EXPECT_TRUE(Holds(run.out, L"cleaned  " + cookies + L"  (cookies cleaned, 2 kept)")) << run.out << run.err;
        EXPECT_EQ(QueryRows(cookies, "SELECT host FROM moz_cookies ORDER BY id"), ".example.com,WWW.Example.COM");
    }
    CliRun run = RunCli(L"clean --mode cookies --permanent --include \"" + cookies + L"\"");
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(Holds(run.out, L"removed  " + cookies)) << run.out;
    EXPECT_FALSE(FullPathExists(cookies));
}

}  // namespace
