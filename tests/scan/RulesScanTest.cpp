// Rules applied to a fake machine in a scratch tree: what each flag,
// exclusion, detection and wildcard step finds, the rules refused on the
// machine, our own rules file over today's caches, and a clean of its
// matches with links and a held file inside.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <map>

#include "clean/CleanTestSupport.h"
#include "clean/DeleteItem.h"
#include "scan/FoundItems.h"
#include "scan/Listing.h"
#include "scan/RulesScan.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "win/Path.h"

using namespace testing_support;

namespace {

class RecordingReport : public IRuleReport {
public:
    void Refused(const RuleEntry&, const std::wstring& folder, const std::wstring& why) override {
        told += folder + L": " + why + L"\n";
    }
    std::wstring told;
};

class RulesMachine : public ::testing::Test {
protected:
    RulesMachine() {
        machine.windows = root / L"Windows";
        machine.majorVersion = 10;
        machine.folders = {{CSIDL_LOCAL_APPDATA, root / L"Local"},
                           {CSIDL_APPDATA, root / L"Roaming"},
                           {CSIDL_COMMON_APPDATA, root / L"ProgramData"},
                           {CSIDL_PROGRAM_FILES, root / L"Programs"},
                           {CSIDL_PROGRAM_FILESX86, root / L"Programs86"}};
        machine.environment = {{L"TEMP", root / L"Local\\Temp"}};
    }
    // Files (or folders, with a trailing backslash) below the scratch root.
    void Seed(std::initializer_list<const wchar_t*> entries) {
        for (std::wstring entry : entries) {
            std::wstring path = root / entry;
            bool folder = path.back() == L'\\';
            MakeFolders(folder ? path.substr(0, path.size() - 1) : ParentOf(path));
            if (!folder) WriteFileBytes(path, "junk");
        }
    }
    std::vector<std::wstring> Scan(const RulesFile& rules) {
        CBriskoDoc doc(machine);
        RecordingSink sink;
        CListingFilter listed(sink);
        RunRulesScan(doc, rules, listed, &report);
        std::vector<std::wstring> paths = sink.Paths();
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::vector<std::wstring> Below(std::initializer_list<const wchar_t*> relative) const {
        std::vector<std::wstring> paths;
        for (const wchar_t* path : relative) paths.push_back(root / path);
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    static RulesFile CurrentRules() { return ReadRulesFile(ProgramFolder() + L"\\rules\\current.ini"); }

    ScratchFolder root{L"rules"};
    FakeMachine machine;
    RecordingReport report;
};

}  // namespace

TEST_F(RulesMachine, FlagsExclusionsDetectionAndWildcardStepsChooseWhatIsFound) {
    Seed({L"Local\\App\\A\\Logs\\a.log", L"Local\\App\\A\\Logs\\a.txt", L"Local\\App\\B\\Logs\\b.log",
          L"Local\\App\\Deep\\x.tmp", L"Local\\App\\Deep\\sub\\y.tmp", L"Local\\App\\Deep\\z.log",
          L"Local\\App\\Whole\\in\\w.bin", L"Local\\App\\Kept\\README", L"Local\\App\\Kept\\keep.txt",
          L"Local\\App\\Kept\\Other\\more.dat", L"Local\\App\\Kept\\Sub\\s.dat", L"Roaming\\Other\\o.tmp",
          L"Programs\\Tool\\Logs\\a.log", L"Programs86\\Tool\\Logs\\b.log"});
    RulesFile rules = ParseRules(
        L"[Files]\nDefault=True\nDetectFile=%LocalAppData%\\Ap?\nFileKey1=%LocalAppData%\\App\\*\\Logs|*.log\n"
        L"FileKey2=%LocalAppData%\\App\\Deep|*.tmp|RECURSE\nFileKey3=%LocalAppData%\\App\\Whole|*.*|REMOVESELF\n"
        L"FileKey4=%ProgramFiles%\\Tool\\Logs|*.log\n"
        L"[Exclusions]\nDefault=true\nDetect=HKEY_CURRENT_USER\\Software\n"
        L"FileKey1=%LocalAppData%\\App\\Kept|*.*|RECURSE\n"
        L"ExcludeKey1=FILE|%LocalAppData%\\App\\Kept|keep.*\nExcludeKey2=PATH|%LocalAppData%\\App\\Kept\\Sub\\\n"
        L"[Not detected]\nDefault=True\nDetectFile=%LocalAppData%\\Missing\n"
        L"Detect=HKCU\\Software\\Brisko-no-such-key\nFileKey1=%AppData%\\Other|*.*\n"
        L"[Not this Windows]\nDefault=True\nDetectOS=|6.3\nFileKey1=%AppData%\\Other|*.*\n"
        L"[Off by default]\nDefault=False\nFileKey1=%AppData%\\Other|*.*\n"
        L"[Without Default]\nFileKey1=%AppData%\\Other|*.*\n");
    ASSERT_TRUE(rules.problems.empty()) << RuleProblemText(rules.problems[0]);
    EXPECT_EQ(Scan(rules),
              Below({L"Local\\App\\A\\Logs\\a.log", L"Local\\App\\B\\Logs\\b.log", L"Local\\App\\Deep\\x.tmp",
                     L"Local\\App\\Deep\\sub\\y.tmp", L"Local\\App\\Whole", L"Local\\App\\Kept\\README",
                     L"Local\\App\\Kept\\Other\\more.dat", L"Programs\\Tool\\Logs\\a.log",
                     L"Programs86\\Tool\\Logs\\b.log"}));
    EXPECT_EQ(report.told, L"");
}

TEST_F(RulesMachine, RulesThatLeadOutOfTheKnownFoldersOrThroughALinkAreRefusedAndNotWalked) {
    Seed({L"Local\\Cache\\c.tmp", L"Outside\\canary.tmp", L"Outside\\Cache\\canary.tmp"});
    ASSERT_TRUE(clean_test::MakeLink(root / L"Local\\Linked", root / L"Outside", true));
    // Links met inside a walked folder are neither listed nor entered.
    ASSERT_TRUE(clean_test::MakeLink(root / L"Local\\Cache\\inner", root / L"Outside", true));
    ASSERT_TRUE(clean_test::MakeLink(root / L"Local\\Cache\\link.tmp", root / L"Outside\\canary.tmp", false));
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    machine.windows = windows;  // the machine's own Windows folder, which is protected
    RulesFile rules =
        ParseRules(L"[E]\nDefault=True\nFileKey1=C:\\|*.tmp\nFileKey2=" + root.Path() +
                   L"\\Outside|*.tmp\nFileKey3=%WinDir%\\System32|*.tmp\n"
                   L"FileKey4=%LocalAppData%\\Linked\\Cache|*.tmp\nFileKey5=%LocalAppData%\\Linked|*.tmp\n"
                   L"FileKey6=%LocalAppData%\\*|*.tmp\nFileKey7=" +
                   root.Path() + L"\\Local\\Cache|*.tmp|RECURSE\n");
    EXPECT_EQ(Scan(rules), Below({L"Local\\Cache\\c.tmp"}));
    for (const wchar_t* told :
         {L"C:\\: leads outside every known folder", L"\\Outside: leads outside every known folder",
          L"System32: is a drive root or a protected folder", L"Linked\\Cache: is a link or lies behind one",
          L"Linked: is a link or lies behind one", L"Local\\*: a wildcard step directly inside"})
        EXPECT_NE(report.told.find(told), std::wstring::npos) << told << L" in\n" << report.told;
    clean_test::RemoveLink(root / L"Local\\Linked", true);
    clean_test::RemoveLink(root / L"Local\\Cache\\inner", true);
    clean_test::RemoveLink(root / L"Local\\Cache\\link.tmp", false);
}

TEST_F(RulesMachine, OurRulesFindTodaysCachesAndNothingBesideThem) {
    Seed({
        // Found: the caches of two Chromium browsers in two profiles, Firefox's, Windows' own.
        L"Local\\Google\\Chrome\\User Data\\Default\\Cache\\Cache_Data\\data_0",
        L"Local\\Google\\Chrome\\User Data\\Profile 1\\Code Cache\\js\\index",
        L"Local\\Google\\Chrome\\User Data\\Default\\GPUCache\\data_1",
        L"Local\\Google\\Chrome\\User Data\\ShaderCache\\data_0",
        L"Local\\Microsoft\\Edge\\User Data\\Default\\Cache\\Cache_Data\\f_000001",
        L"Local\\Mozilla\\Firefox\\Profiles\\ab12.default-release\\cache2\\entries\\0A1B",
        L"ProgramData\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x\\Report.wer",
        L"Local\\D3DSCache\\4c1f\\shader.idx",
        L"Windows\\ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\Windows\\DeliveryOptimization\\Cache\\"
        L"d0\\piece",
        L"Windows\\SoftwareDistribution\\Download\\a1\\update.cab",
        L"Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db",
        L"Local\\Temp\\setup.tmp",
        L"Windows\\Temp\\old\\x.log",
        L"Windows\\Logs\\CBS\\CBS.log",
        L"Local\\Packages\\App_8wek\\AC\\INetCache\\page.htm",
        // Left: what a user keeps, and entries off by default.
        L"Local\\Google\\Chrome\\User Data\\Default\\History",
        L"Local\\Google\\Chrome\\User Data\\Default\\Bookmarks",
        L"Local\\Google\\Chrome\\User Data\\Default\\Service Worker\\CacheStorage\\site\\x",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\ab12.default-release\\places.sqlite",
        L"Local\\Microsoft\\Windows\\Explorer\\ExplorerStartupLog.etl",
        L"Local\\CrashDumps\\app.exe.1234.dmp",
        L"ProgramData\\Microsoft\\Windows\\WER\\ReportQueue\\AppCrash_y\\Report.wer",
        L"Windows\\Logs\\CBS\\notes.txt",
    });
    machine.folders[CSIDL_PROFILE] = root.Path();  // TEMP lies in the user's own profile
    RulesFile rules = CurrentRules();
    ASSERT_FALSE(rules.entries.empty());
    EXPECT_TRUE(rules.problems.empty()) << RuleProblemText(rules.problems[0]);
    EXPECT_EQ(Scan(rules), Below({
                               L"Local\\Google\\Chrome\\User Data\\Default\\Cache",
                               L"Local\\Google\\Chrome\\User Data\\Profile 1\\Code Cache",
                               L"Local\\Google\\Chrome\\User Data\\Default\\GPUCache",
                               L"Local\\Google\\Chrome\\User Data\\ShaderCache",
                               L"Local\\Microsoft\\Edge\\User Data\\Default\\Cache",
                               L"Local\\Mozilla\\Firefox\\Profiles\\ab12.default-release\\cache2",
                               L"ProgramData\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x\\Report.wer",
                               L"Local\\D3DSCache",
                               L"Windows\\ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\Windows\\Delivery"
                               L"Optimization\\Cache\\"
                               L"d0\\piece",
                               L"Windows\\SoftwareDistribution\\Download",
                               L"Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db",
                               L"Local\\Temp\\setup.tmp",
                               L"Windows\\Temp\\old\\x.log",
                               L"Windows\\Logs\\CBS\\CBS.log",
                               L"Local\\Packages\\App_8wek\\AC\\INetCache\\page.htm",
                           }));
    EXPECT_EQ(report.told, L"");
}

TEST_F(RulesMachine, ACleanOfOurRulesMatchesKeepsWhatLinksReachAndWhatIsInUse) {
    const std::wstring cache = root / L"Local\\Google\\Chrome\\User Data\\Default\\Cache";
    Seed({L"Local\\Google\\Chrome\\User Data\\Default\\Cache\\Cache_Data\\data_0", L"Local\\Temp\\junk.tmp",
          L"Local\\Temp\\held.tmp", L"Outside\\dir\\canary.txt", L"Outside\\file-canary.txt"});
    ASSERT_TRUE(clean_test::MakeLink(cache + L"\\Cache_Data\\dirlink", root / L"Outside\\dir", true));
    ASSERT_TRUE(clean_test::MakeLink(cache + L"\\filelink", root / L"Outside\\file-canary.txt", false));
    ASSERT_TRUE(clean_test::MakeLink(root / L"Local\\Temp\\templink", root / L"Outside\\dir", true));
    ChildProcess holder = HoldFileOpen(root / L"Local\\Temp\\held.tmp");
    machine.folders[CSIDL_PROFILE] = root.Path();  // TEMP lies in the user's own profile
    for (bool permanent : {true, false}) {
        for (const std::wstring& path : Scan(CurrentRules())) DeleteFoundItem(path, permanent);
        EXPECT_EQ(ReadFileBytes(root / L"Outside\\dir\\canary.txt"), "junk");
        EXPECT_EQ(ReadFileBytes(root / L"Outside\\file-canary.txt"), "junk");
        EXPECT_TRUE(Exists(cache + L"\\Cache_Data\\dirlink") && Exists(cache + L"\\filelink"));
        EXPECT_TRUE(Exists(root / L"Local\\Temp\\templink"));
        EXPECT_TRUE(Exists(root / L"Local\\Temp\\held.tmp"));
        EXPECT_FALSE(Exists(root / L"Local\\Temp\\junk.tmp"));
        EXPECT_FALSE(Exists(cache + L"\\Cache_Data\\data_0"));
    }
    holder.Kill();
    for (const std::wstring& link : {cache + L"\\Cache_Data\\dirlink", root / L"Local\\Temp\\templink"})
        clean_test::RemoveLink(link, true);
    clean_test::RemoveLink(cache + L"\\filelink", false);
}

TEST(RulePatterns, MatchAsThePlatformMatchesFileNames) {
    const struct {
        const wchar_t* pattern;
        const wchar_t* name;
        bool matches;
    } cases[] = {
        {L"*.log", L"A.LOG", true},
        {L"*.log", L"a.log.bak", false},
        {L"*.*", L"README", true},
        {L"*.*", L"a.b", true},
        {L"index.*", L"index", true},
        {L"index.*", L"index.dat", true},
        {L"index.*", L"indexes", false},
        // A pattern ending in a dot takes names without an extension only.
        {L"index.", L"index", true},
        {L"index.", L"INDEX", true},
        {L"index.", L"index.dat", false},
        {L"index.", L"indexes", false},
        {L"data*.", L"data", true},
        {L"data*.", L"data_1", true},
        {L"data*.", L"data_1.log", false},
        {L"data*.", L"olddata", false},
        {L"*.", L"LICENSE", true},
        {L"*.", L"license.txt", false},
        {L"f?le.", L"file", true},
        {L"f?le.", L"file.x", false},
        {L"a.b.", L"a.b", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RulePatternMatches(c.pattern, c.name), c.matches) << c.pattern << L" " << c.name;
}

TEST_F(RulesMachine, APatternEndingInADotFindsTheFilesWithoutAnExtension) {
    Seed({L"Local\\App\\index", L"Local\\App\\index.dat", L"Local\\App\\data1", L"Local\\App\\data1.log",
          L"Local\\App\\keep"});
    RulesFile rules = ParseRules(L"[E]\nDefault=True\nFileKey1=%LocalAppData%\\App|index.;data*.\n");
    ASSERT_TRUE(rules.problems.empty()) << RuleProblemText(rules.problems[0]);
    EXPECT_EQ(Scan(rules), Below({L"Local\\App\\index", L"Local\\App\\data1"}));
}

// %UserName% inside a folder stands for the user's name where that is one
// plain name of a folder; else the rule finds nothing, and an exclusion
// that cannot say what it keeps stops its entry.
TEST_F(RulesMachine, UserNameInsideAFolderIsTheUsersNameOrNothing) {
    Seed({L"Local\\App\\ann\\a.log", L"Local\\App\\bob\\b.log", L"Local\\App\\ann\\a.tmp",
          L"Local\\App\\ann\\keep.tmp", L"Local\\App\\bob\\b.tmp", L"Local\\App\\x.tmp"});
    const std::wstring text =
        L"[Own]\nDefault=True\nFileKey1=%LocalAppData%\\App\\%UserName%|*.log\n"
        L"[Everyone]\nDefault=True\nFileKey1=%LocalAppData%\\App|*.tmp|RECURSE\n"
        L"ExcludeKey1=FILE|%LocalAppData%\\App\\%username%|keep.tmp\n";
    const struct {
        std::optional<std::wstring> user;
        std::vector<std::wstring> found;
    } cases[] = {
        {L"ann", Below({L"Local\\App\\ann\\a.log", L"Local\\App\\ann\\a.tmp", L"Local\\App\\bob\\b.tmp",
                        L"Local\\App\\x.tmp"})},
        {std::nullopt, {}},
        {L"", {}},
        {L"..", {}},
        {L"ann\\..\\bob", {}},
        {L"*", {}},
    };
    for (const auto& c : cases) {
        if (c.user)
            machine.environment[L"USERNAME"] = *c.user;
        else
            machine.environment.erase(L"USERNAME");
        RulesFile rules = ParseRules(text);
        ASSERT_TRUE(rules.problems.empty()) << RuleProblemText(rules.problems[0]);
        EXPECT_EQ(Scan(rules), c.found) << c.user.value_or(L"(none)");
    }
}

// Each row keeps the number of the entry that found it, which names the
// entry; what the program's own scans find after the rules names none.
TEST_F(RulesMachine, EachFoundItemNamesTheEntryThatFoundIt) {
    Seed({L"Local\\App\\a.log", L"Local\\App\\b.tmp", L"Local\\App\\c.dmp", L"Local\\Other\\d.log"});
    RulesFile rules = ParseRules(L"[Off]\nFileKey1=%LocalAppData%\\App|*.dmp\n"
                                 L"[Logs *]\nDefault=True\nFileKey1=%LocalAppData%\\App|*.log\n"
                                 L"[Temps]\nDefault=True\nFileKey1=%LocalAppData%\\App|*.tmp\n"
                                 L"[Logs Again]\nDefault=True\nFileKey1=%LocalAppData%\\App|*.log\n");
    CBriskoDoc doc(machine);
    FoundItems items;
    CFoundItemCollector collector(items, 1);
    CListingFilter listed(collector);
    RunRulesScan(doc, rules, listed);
    WIN32_FIND_DATAW record{};
    listed.AddFoundItem(root / L"Local\\Other\\d.log", record);

    const std::vector<std::wstring> names = RuleEntryNames(rules);
    std::map<std::wstring, std::wstring> foundBy;
    for (size_t row = 0; row < items.Count(); ++row)
        foundBy[items[row].path] = RuleEntryNameOf(names, items[row].rule);
    // A file two entries name is listed once, as the first found it.
    const std::map<std::wstring, std::wstring> expected = {{root / L"Local\\App\\a.log", L"Logs"},
                                                           {root / L"Local\\App\\b.tmp", L"Temps"},
                                                           {root / L"Local\\Other\\d.log", L""}};
    EXPECT_EQ(foundBy, expected);
    for (std::uint16_t beyond : {0, 5, 0xFFFF}) EXPECT_EQ(RuleEntryNameOf(names, beyond), L"") << beyond;
}

// An entry whose detection lines are all left out cannot be decided here: it
// applies nowhere, even when chosen, and its reading says so. One usable
// line decides.
TEST_F(RulesMachine, AnEntryWhoseDetectionCannotBeDecidedIsOffAndTold) {
    Seed({L"Local\\App\\a.log"});
    const struct {
        const wchar_t* detection;
        bool applies;
        bool toldUndecidable;
    } cases[] = {
        {L"", true, false},
        {L"SpecialDetect=DET_CHROME\n", false, true},
        {L"DetectFile=App\\relative\n", false, true},
        {L"Detect=Software\\Vendor\n", false, true},
        {L"DetectFile=%Nowhere%\\App\nSpecialDetect=DET_FIREFOX\n", false, true},
        {L"Detect=Software\\Vendor\nDetectFile=%LocalAppData%\\App\n", true, false},
        {L"Detect=HKCU\\Software\\Brisko-no-such-key\n", false, false},
        {L"Detect=HKCU\\Software\n", true, false},
    };
    for (const auto& c : cases) {
        RulesFile rules = ParseRules(std::wstring(L"[E]\nDefault=True\n") + c.detection +
                                     L"FileKey1=%LocalAppData%\\App|*.log\n");
        ChooseAllRuleEntries(rules);
        std::wstring told;
        for (const RuleProblem& problem : rules.problems) told += RuleProblemText(problem) + L"\n";
        EXPECT_EQ(Scan(rules), c.applies ? Below({L"Local\\App\\a.log"}) : std::vector<std::wstring>{}) << c.detection;
        EXPECT_EQ(told.find(L"line 1: [E] none of its ") != std::wstring::npos, c.toldUndecidable)
            << c.detection << told;
        EXPECT_EQ(rules.entries[0].detectionUndecidable, c.toldUndecidable) << c.detection;
    }
}

// Two entries over one folder, one taking it whole and one file by file, in
// either order: the folder is one row and swallows the files below it.
TEST_F(RulesMachine, AFolderListedWholeSwallowsTheFilesOtherEntriesFindBelowIt) {
    Seed({L"Local\\App\\Cache\\a.bin", L"Local\\App\\Cache\\sub\\b.bin", L"Local\\App\\Cache.bin",
          L"Local\\App\\Other\\c.bin"});
    const std::wstring whole = L"[Whole]\nDefault=True\nFileKey1=%LocalAppData%\\App\\Cache|*.*|REMOVESELF\n";
    const std::wstring files = L"[Files]\nDefault=True\nFileKey1=%LocalAppData%\\App|*.bin|RECURSE\n";
    const std::wstring deeper = L"[Deeper]\nDefault=True\nFileKey1=%LocalAppData%\\App\\Cache\\sub|*.*|REMOVESELF\n";
    const std::vector<std::wstring> expected =
        Below({L"Local\\App\\Cache", L"Local\\App\\Cache.bin", L"Local\\App\\Other\\c.bin"});
    for (const std::wstring& text : {whole + files, files + whole, deeper + whole + files, files + deeper + whole})
        EXPECT_EQ(Scan(ParseRules(text)), expected) << text;
    EXPECT_EQ(Scan(ParseRules(files + deeper)),
              Below({L"Local\\App\\Cache.bin", L"Local\\App\\Cache\\a.bin", L"Local\\App\\Cache\\sub",
                     L"Local\\App\\Other\\c.bin"}));
}

// A REMOVESELF folder with exclusions: each folder below that holds nothing
// kept goes whole; one that holds a kept item stays, listed file by file.
TEST_F(RulesMachine, ARemoveSelfFolderWithExclusionsLosesEveryFolderThatHoldsNothingKept) {
    Seed({L"Local\\App\\Data\\top.dat", L"Local\\App\\Data\\keep.ini", L"Local\\App\\Data\\Empty\\",
          L"Local\\App\\Data\\Plain\\p.dat", L"Local\\App\\Data\\Plain\\Deep\\d.dat", L"Local\\App\\Data\\Mixed\\keep.ini",
          L"Local\\App\\Data\\Mixed\\m.dat", L"Local\\App\\Data\\Mixed\\Inner\\i.dat", L"Local\\App\\Data\\Saved\\s.dat",
          L"Local\\App\\Data\\Saved\\Sub\\t.dat"});
    const std::wstring head = L"[E]\nDefault=True\nFileKey1=%LocalAppData%\\App\\Data|*.*|REMOVESELF\n";
    const struct {
        std::wstring excludes;
        std::vector<std::wstring> found;
    } cases[] = {
        {L"", Below({L"Local\\App\\Data"})},
        {L"ExcludeKey1=FILE|%LocalAppData%\\App\\Data\\Mixed|keep.ini\nExcludeKey2=PATH|%LocalAppData%\\App\\Data\\Saved\n",
         Below({L"Local\\App\\Data\\top.dat", L"Local\\App\\Data\\keep.ini", L"Local\\App\\Data\\Empty",
                L"Local\\App\\Data\\Plain", L"Local\\App\\Data\\Mixed\\m.dat", L"Local\\App\\Data\\Mixed\\Inner"})},
        {L"ExcludeKey1=FILE|%LocalAppData%\\App\\Data|keep.ini\n",
         Below({L"Local\\App\\Data\\top.dat", L"Local\\App\\Data\\Empty", L"Local\\App\\Data\\Plain",
                L"Local\\App\\Data\\Mixed", L"Local\\App\\Data\\Saved"})},
    };
    for (const auto& c : cases) {
        RulesFile rules = ParseRules(head + c.excludes);
        ASSERT_TRUE(rules.problems.empty()) << RuleProblemText(rules.problems[0]);
        EXPECT_EQ(Scan(rules), c.found) << c.excludes;
    }
}

// A rule's walk opens each file it lists once, with no sharing: a file that
// another process holds in any way, and a link, are left out whoever takes
// the rows, and what is listed carries the entry a directory search gives.
TEST_F(RulesMachine, EachFileIsListedOnlyFreeAndNoLinkWithItsOwnEntry) {
    const std::wstring logs = root / L"Local\\App\\Logs";
    Seed({L"Local\\App\\Logs\\held-alone.log", L"Local\\App\\Logs\\held-read.log", L"Local\\App\\Logs\\held-all.log",
          L"Local\\App\\Logs\\Deep\\deeper.log", L"Outside\\target.log"});
    WriteFileBytes(logs + L"\\free.log", "twelve bytes");
    ASSERT_TRUE(::SetFileAttributesW((logs + L"\\free.log").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(clean_test::MakeLink(logs + L"\\link.log", root / L"Outside\\target.log", false));
    const struct {
        const wchar_t* name;
        DWORD share;
    } holders[] = {{L"held-alone.log", 0},
                   {L"held-read.log", FILE_SHARE_READ},
                   {L"held-all.log", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}};
    std::vector<ChildProcess> held;
    for (const auto& holder : holders) held.push_back(HoldFileOpen(logs + L"\\" + holder.name, holder.share));

    const RulesFile rules = ParseRules(L"[E]\nDefault=True\nFileKey1=%LocalAppData%\\App\\Logs|*.log|RECURSE\n");
    CBriskoDoc doc(machine);
    RecordingSink direct;  // no listing filter: the walk itself leaves them out
    RunRulesScan(doc, rules, direct);
    std::vector<std::wstring> found = direct.Paths();
    std::sort(found.begin(), found.end());
    const std::vector<std::wstring> expected = Below({L"Local\\App\\Logs\\free.log", L"Local\\App\\Logs\\Deep\\deeper.log"});
    EXPECT_EQ(found, expected);
    EXPECT_EQ(Scan(rules), expected);
    for (const RecordingSink::Item& item : direct.items) {
        WIN32_FIND_DATAW searched;
        HANDLE find = ::FindFirstFileW(item.path.c_str(), &searched);
        ASSERT_NE(find, INVALID_HANDLE_VALUE) << item.path;
        ::FindClose(find);
        EXPECT_EQ(item.record.dwFileAttributes, searched.dwFileAttributes) << item.path;
        EXPECT_EQ(item.record.nFileSizeLow, searched.nFileSizeLow) << item.path;
        EXPECT_EQ(::CompareFileTime(&item.record.ftLastWriteTime, &searched.ftLastWriteTime), 0) << item.path;
        EXPECT_STREQ(item.record.cFileName, searched.cFileName);
    }
    for (ChildProcess& holder : held) holder.Kill();
    ::SetFileAttributesW((logs + L"\\free.log").c_str(), FILE_ATTRIBUTE_NORMAL);
    clean_test::RemoveLink(logs + L"\\link.log", false);
}

// Two entries naming one folder whole list it once, as the first entry's;
// a second that keeps something inside it adds nothing the first took.
TEST_F(RulesMachine, AFolderTwoEntriesTakeWholeIsListedOnceAsTheFirstOnes) {
    Seed({L"Local\\App\\Cache\\a.bin", L"Local\\App\\Cache\\keep.ini"});
    const std::wstring first = L"[First]\nDefault=True\nFileKey1=%LocalAppData%\\App\\Cache|*.*|REMOVESELF\n";
    const std::wstring again = L"[Again]\nDefault=True\nFileKey1=%LocalAppData%\\App\\Cache|*.*|REMOVESELF\n";
    const std::wstring keeping = L"[Keeping]\nDefault=True\nFileKey1=%LocalAppData%\\App\\Cache|*.*|REMOVESELF\n"
                                 L"ExcludeKey1=FILE|%LocalAppData%\\App\\Cache|keep.ini\n";
    for (const std::wstring& text : {first + again, first + keeping, keeping + first}) {
        CBriskoDoc doc(machine);
        FoundItems items;
        CFoundItemCollector collector(items, 0);
        CListingFilter listed(collector);
        RunRulesScan(doc, ParseRules(text), listed);
        ASSERT_EQ(items.Count(), 1u) << text;
        EXPECT_EQ(items[0].path, root / L"Local\\App\\Cache") << text;
        EXPECT_EQ(items[0].rule, text == keeping + first ? 2 : 1) << text;
    }
}
