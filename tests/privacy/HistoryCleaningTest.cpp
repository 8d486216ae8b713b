// The history routines on a scratch registry branch and scratch profile
// folders: what they delete, what they list and how far the counter goes.
#include <gtest/gtest.h>

#include <atomic>

#include "scan/Listing.h"
#include "privacy/HistoryCleaning.h"
#include "privacy/UrlHistoryStore.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"

using namespace testing_support;

namespace {

constexpr const wchar_t* kBase = L"Software\\BriskoTest\\Privacy";

bool KeyExists(const std::wstring& key) {
    HKEY h = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(kBase) + L"\\" + key).c_str(), 0, KEY_READ, &h) !=
        ERROR_SUCCESS)
        return false;
    ::RegCloseKey(h);
    return true;
}

// A key below the scratch branch holding a value and a subkey with a value.
void MakeKey(const std::wstring& key) {
    for (const std::wstring& path : {key, key + L"\\Sub"}) {
        HKEY h = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kBase) + L"\\" + path).c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(h, L"a", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 4);
        ::RegCloseKey(h);
    }
}

struct Counter : IHistoryProgress {
    int steps = 0;
    void Advance(int n) override { steps += n; }
};

class HistoryCleaningTest : public ::testing::Test {
protected:
    HistoryCleaningTest() {
        system.windows = scratch / L"Windows";
        system.folders[kCsidlAppData] = scratch / L"Roaming";
        system.folders[kCsidlLocalAppData] = scratch / L"Local";
        MakeFolders(system.windows);
        MakeFolders(system.folders[kCsidlAppData]);
    }
    ~HistoryCleaningTest() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\BriskoTest"); }

    // Made after the folders, so that discovery sees them.
    CBriskoDoc& Doc() {
        if (!m_doc) m_doc = std::make_unique<CBriskoDoc>(system);
        return *m_doc;
    }
    void Run(const CHistoryOptions& options, IFoundItemSink& to) {
        RunHistoryCleaning({Doc(), to, counter, kBase}, options);
    }
    void MakeEveryCatalogueKey() {
        const CBriskoDoc& doc = Doc();
        MakeKey(doc.m_strIntelliFormsKey);
        MakeKey(doc.m_strTypedURLsKey);
        for (const CTargetList* list : {&doc.m_listRunHistoryKeys, &doc.m_listFindHistoryKeys, &doc.m_listRecentDocKeys})
            for (const wchar_t* key : *list) MakeKey(key);
    }

    ScratchFolder scratch{L"privacy"};
    FakeMachine system;
    RecordingSink sink;
    Counter counter;

private:
    std::unique_ptr<CBriskoDoc> m_doc;
};

TEST_F(HistoryCleaningTest, TypedUrlAloneDeletesItsOneKeyAndListsNothing) {
    MakeEveryCatalogueKey();
    CHistoryOptions options;
    options.typedUrl = true;
    Run(options, sink);
    EXPECT_FALSE(KeyExists(Doc().m_strTypedURLsKey));
    EXPECT_TRUE(KeyExists(Doc().m_strIntelliFormsKey));
    for (const CTargetList* list : {&Doc().m_listRunHistoryKeys, &Doc().m_listFindHistoryKeys, &Doc().m_listRecentDocKeys})
        for (const wchar_t* key : *list) EXPECT_TRUE(KeyExists(key)) << key;
    EXPECT_TRUE(sink.items.empty());
    EXPECT_EQ(counter.steps, 1);
}

TEST_F(HistoryCleaningTest, RunHistoryDeletesBothKeysWithTheirSubkeys) {
    MakeEveryCatalogueKey();
    CHistoryOptions options;
    options.runHistory = true;
    Run(options, sink);
    ASSERT_EQ(Doc().m_listRunHistoryKeys.size(), 2u);
    for (const wchar_t* key : Doc().m_listRunHistoryKeys) EXPECT_FALSE(KeyExists(key)) << key;
    EXPECT_TRUE(KeyExists(Doc().m_strTypedURLsKey));
    EXPECT_EQ(counter.steps, 2);
}

TEST_F(HistoryCleaningTest, AMissingKeyIsCountedAndTheNextStillGoes) {
    MakeKey(L"First");
    MakeKey(L"Third");
    DeleteRegistryTree({L"First", L"Second", L"Third"}, kBase, counter);
    EXPECT_FALSE(KeyExists(L"First"));
    EXPECT_FALSE(KeyExists(L"Third"));
    EXPECT_EQ(counter.steps, 3);
}

TEST_F(HistoryCleaningTest, AKeyPathThatNamesNoKeyOfItsOwnDeletesNothing) {
    MakeKey(L"Keep");
    for (const wchar_t* key : {L"", L"\\", L"\\\\\\", L"..", L"Keep\\..", L"Keep\\..\\..\\x", L".", L"Keep\\.\\Sub"}) {
        EXPECT_EQ(UserKeyPath(kBase, key), L"") << key;
        EXPECT_EQ(UserKeyPath(L"", key), L"") << key;
        EXPECT_FALSE(DeleteUserKey(kBase, key)) << key;
    }
    EXPECT_TRUE(KeyExists(L"Keep\\Sub"));
    EXPECT_EQ(UserKeyPath(L"\\A\\", L"\\B\\\\C\\"), L"A\\B\\C");
    EXPECT_EQ(UserKeyPath(L"", L"Software\\X"), L"Software\\X");
    EXPECT_TRUE(DeleteUserKey(kBase, L"\\Keep\\"));
    EXPECT_FALSE(KeyExists(L"Keep"));
}

TEST_F(HistoryCleaningTest, UrlHistoryListsTheHistoryFolderAndChromeHistoriesNotHeldOpen) {
    std::wstring chrome = scratch / L"Roaming\\Google\\Chrome\\User Data\\Default";
    MakeFolders(chrome);
    for (const wchar_t* name : {L"History", L"Archived History", L"History.old", L"Cookies"})
        WriteFileBytes(chrome + L"\\" + name, "data");
    system.folders[34] = scratch / L"History";
    MakeFolders(system.folders[34]);
    ChildProcess holder = HoldFileOpen(chrome + L"\\History.old");
    CListingFilter listable(sink);
    CHistoryOptions options;
    options.urlHistory = true;
    Run(options, listable);
    std::vector<std::wstring> expected = {scratch / L"History\\", chrome + L"\\History", chrome + L"\\Archived History"};
    EXPECT_EQ(sink.Paths(), expected);
    EXPECT_EQ(counter.steps, 16);
}

TEST_F(HistoryCleaningTest, WithoutAHistoryFolderTheWindowsOneIsListed) {
    MakeFolders(system.windows + L"\\History");
    CHistoryOptions options;
    options.urlHistory = true;
    Run(options, sink);
    ASSERT_EQ(sink.items.size(), 1u);
    EXPECT_EQ(sink.items[0].path, system.windows + L"\\History\\");
}

TEST_F(HistoryCleaningTest, RecentDocumentsListTheRecentFolderAsOneFolderItem) {
    system.folders[8] = scratch / L"Recent";
    MakeFolders(system.folders[8]);
    WriteFileBytes(system.folders[8] + L"\\a.lnk", "link");
    CHistoryOptions options;
    options.recentDocuments = true;
    Run(options, sink);
    ASSERT_EQ(sink.items.size(), 1u);
    EXPECT_EQ(sink.items[0].path, system.folders[8]);
    EXPECT_TRUE(sink.items[0].record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(counter.steps, 3 + 16);
}

TEST_F(HistoryCleaningTest, EachOptionListsItsBrowserAndApplicationFilesOnly) {
    CBriskoDoc& doc = Doc();
    doc.m_strMozillaProfile = scratch / L"Mozilla";
    doc.m_szNetscapeDir = scratch / L"Netscape";
    doc.m_strFirefoxProfile = scratch / L"Firefox";
    doc.m_szOfficeDir = scratch / L"Office";
    for (const wchar_t* name : {L"Mozilla\\netscape.hst", L"Netscape\\Users\\Default\\netscape.hst",
                                L"Firefox\\history.dat", L"Firefox\\formhistory.dat", L"Firefox\\signons2.txt",
                                L"Firefox\\key3.db", L"Roaming\\Google\\Local Search History\\s.xml",
                                L"Office\\Recent\\a.lnk", L"Roaming\\Microsoft\\Office\\Recent\\b.lnk"}) {
        MakeFolders((scratch / name).substr(0, (scratch / name).rfind(L'\\')));
        WriteFileBytes(scratch / name, "data");
    }
    struct Case {
        CHistoryOptions options;
        std::vector<const wchar_t*> listed;
    };
    const Case cases[] = {
        {{.urlHistory = true}, {L"Mozilla\\netscape.hst", L"Netscape\\Users\\Default\\netscape.hst", L"Firefox\\history.dat"}},
        {{.autoComplete = true}, {L"Firefox\\formhistory.dat", L"Firefox\\signons2.txt"}},
        {{.findHistory = true}, {L"Roaming\\Google\\Local Search History\\s.xml"}},
        {{.recentDocuments = true}, {L"Office\\Recent", L"Roaming\\Microsoft\\Office\\Recent"}},
    };
    for (const Case& c : cases) {
        RecordingSink listed;
        Run(c.options, listed);
        std::vector<std::wstring> expected;
        for (const wchar_t* name : c.listed) expected.push_back(scratch / name);
        EXPECT_EQ(listed.Paths(), expected);
    }
}

TEST_F(HistoryCleaningTest, TheUrlHistoryObjectIsCreated) { EXPECT_TRUE(ClearUrlHistoryStore()); }

// Escape during the Advance dialog's clean: the routine in hand ends, no further one starts.
TEST_F(HistoryCleaningTest, AStopEndsTheRunAfterTheRoutineInHand) {
    struct StopAfter : IHistoryProgress {
        std::atomic<bool>& stop;
        int steps = 0;
        explicit StopAfter(std::atomic<bool>& flag) : stop(flag) {}
        void Advance(int n) override {
            steps += n;
            stop = true;  // while the first routine runs
        }
    };
    const struct {
        const char* name;
        bool stopFirst;
        int steps;
        bool typedUrlKeyGone;
    } cases[] = {
        {"stopped before", true, 0, false},
        {"stopped in the first routine", false, 2, false},  // Run history: its two keys
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MakeEveryCatalogueKey();
        std::atomic<bool> stop{c.stopFirst};
        StopAfter progress(stop);
        CHistoryOptions options;
        options.runHistory = true;
        options.typedUrl = true;
        RunHistoryCleaning({Doc(), sink, progress, kBase, &stop}, options);
        EXPECT_EQ(progress.steps, c.steps);
        EXPECT_EQ(!KeyExists(Doc().m_strTypedURLsKey), c.typedUrlKeyGone);
    }
}

TEST_F(HistoryCleaningTest, EveryOptionTogetherAdvancesByTheAnnouncedSteps) {
    CHistoryOptions all{true, true, true, true, true, true};
    Run(all, sink);
    EXPECT_EQ(counter.steps, HistoryCleaningSteps(Doc(), all));
    EXPECT_EQ(counter.steps, 16 + 3 + 2 + 8 + 1 + 19);
}

}  // namespace
