// The mode commands of the view over a fake machine: title, list, order,
// and the Cookies Killer scan that gives way to Offline Temp.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/BriskoApp.h"
#include "catalog/BriskoDoc.h"
#include "res/resource.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"
#include "scan/FoundItemOrder.h"

using namespace testing_support;

namespace {
class ModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Frame()));
        view.MoveWindow(0, 0, 700, 300);
        view.SetUpList();
    }
    std::vector<std::wstring> Names() const { return RowPaths(view); }
    std::wstring Title() const { return win::CWnd(host.Frame()).GetWindowText(); }

    ScratchFolder folder{L"modes"};
    FakeMachine machine = [this] {
        FakeMachine m;
        m.windows = folder.Path() + L"\\win";
        return m;
    }();
    ViewHost host;
    std::unique_ptr<CBriskoDoc> doc;
    CBriskoDoc& Doc() {
        if (!doc) doc = std::make_unique<CBriskoDoc>(machine);
        return *doc;
    }
    CListController view{host.app, Doc()};
};
}  // namespace

TEST_F(ModeTest, StandardListsItsFindingsSortedByNameUnderItsTitle) {
    MakeFolders(machine.windows);
    for (const wchar_t* name : {L"b.log", L"A.tmp", L"c.txt", L"keep.dat"})
        WriteFileBytes(machine.windows + L"\\" + name, "x");
    RunModeToEnd(view, MODE_STANDARD);
    EXPECT_EQ(Title(), L"Standard - Brisko .NET");
    EXPECT_EQ(Names(), (std::vector<std::wstring>{machine.windows + L"\\A.tmp", machine.windows + L"\\b.log",
                                                  machine.windows + L"\\c.txt"}));
    EXPECT_FALSE(view.m_bSortAscending[0]);
    // Row data is only lent to the sort.
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = 2;
    view.List().SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.lParam, 0);
    // A second run starts from an empty list.
    RunModeToEnd(view, MODE_STANDARD);
    EXPECT_EQ(Names().size(), 3u);
}

TEST_F(ModeTest, AnEmptyCookiesScanGivesWayToOfflineTempUntilTheNextStandardScan) {
    RunModeToEnd(view, MODE_COOKIES_KILLER);
    EXPECT_EQ(Title(), L"Offline Temp - Brisko .NET");
    EXPECT_EQ(view.m_nMode, MODE_OFFLINE_TEMP);
    EXPECT_FALSE(view.m_bCookiesAvailable);
    EXPECT_FALSE(view.IsCommandEnabled(ID_OPTIONS_COOKIES));
    RunModeToEnd(view, MODE_STANDARD);
    EXPECT_TRUE(view.m_bCookiesAvailable);
    EXPECT_TRUE(view.IsCommandEnabled(ID_OPTIONS_COOKIES));
    EXPECT_EQ(view.m_nMode, MODE_STANDARD);
}

namespace {
int CompareTexts(const wchar_t* a, const wchar_t* b, bool ascending = true) {
    return ascending ? CompareFoldedText(a, b) : CompareFoldedText(b, a);
}
}  // namespace

TEST(Sorting, CellTextsCompareWithoutRegardToCase) {
    EXPECT_EQ(CompareTexts(L"abc", L"ABC"), 0);
    EXPECT_LT(CompareTexts(L"a.tmp", L"B.log"), 0);
    EXPECT_GT(CompareTexts(L"C:\\b", L"c:\\A"), 0);
    EXPECT_EQ(CompareTexts(L"C:\\ABC", L"C:\\abc"), 0);
    // Code units in order, with only A-Z folded: no word sort, no other letter folded.
    EXPECT_LT(CompareTexts(L"_a", L"B"), 0);
    EXPECT_EQ(CompareTexts(L"_a", L"1a"), L'_' - L'1');
    EXPECT_LT(CompareTexts(L"a-c.log", L"ab.log"), 0);
    EXPECT_GT(CompareTexts(L"\xE4", L"b"), 0);
    EXPECT_EQ(CompareTexts(L"\xC4", L"\xE4"), -0x20);
    EXPECT_LT(CompareTexts(L"ab", L"abc"), 0);
    EXPECT_EQ(CompareTexts(L"a", L"D"), -3);
    EXPECT_EQ(CompareTexts(L"a", L"D", false), 3);
}

TEST_F(ModeTest, AnInitialUpdateDuringACleanLeavesTheRowsToTheClean) {
    MakeFolders(machine.windows);
    WriteFileBytes(machine.windows + L"\\a.log", "x");
    RunModeToEnd(view, MODE_STANDARD);
    ASSERT_EQ(Names().size(), 1u);
    WriteFileBytes(machine.windows + L"\\b.log", "x");
    view.m_bBusy = true;  // as while the clean worker reads the rows by their index
    view.OnInitialUpdate();
    EXPECT_EQ(Names().size(), 1u);
    view.m_bBusy = false;
    view.OnInitialUpdate();
    ASSERT_TRUE(WaitUntil([&] { return !view.IsScanning(); }));
    EXPECT_EQ(Names().size(), 2u);
}

TEST_F(ModeTest, WhatTheStandardScanLeavesOutIsToldOnceInTheStatusBar) {
    MakeFolders(machine.windows + L"\\System32\\wbem");
    machine.environment[L"TMP"] = machine.windows + L"\\System32\\wbem";
    machine.drives = {{L'E', {DRIVE_FIXED, L"NTFS", folder.Path(), false}}};
    RunModeToEnd(view, MODE_STANDARD);
    EXPECT_EQ(host.StatusText(), L"E: is not the root of a volume: its drive targets are not looked for; TMP points "
                                 L"to " + machine.windows + L"\\System32\\wbem: not cleaned");
    EXPECT_TRUE(Names().empty());
}
