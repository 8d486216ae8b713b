// The Standard scan's own rows for the Windows Temp folder ("...\Temp\", with
// its trailing backslash) and the TMP folder, cleaned through the view's
// commands: each folder is emptied and kept, and what lies behind a link in
// it is never touched. The link stays, so the row stays too, unselected,
// saying why.
#include <gtest/gtest.h>

#include "catalog/BriskoDoc.h"
#include "res/resource.h"
#include "view/ListController.h"
#include "clean/CleanTestSupport.h"
#include "support/ViewHost.h"

using namespace testing_support;
using clean_test::MakeLink;
using clean_test::RemoveLink;

namespace {

std::wstring WindowsTemp() {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Temp";
}

std::wstring TmpFolder() {
    wchar_t tmp[MAX_PATH] = {};
    DWORD n = ::GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH);
    std::wstring folder(tmp, n < MAX_PATH ? n : 0);
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

int RowOf(const CListController& view, const std::wstring& path) {
    std::vector<std::wstring> rows = RowPaths(view);
    for (size_t row = 0; row < rows.size(); ++row)
        if (rows[row] == path) return static_cast<int>(row);
    return -1;
}

class TempRows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(TmpFolder().empty());
        ASSERT_NE(_wcsicmp(TmpFolder().c_str(), WindowsTemp().c_str()), 0);
        MakeFolders(outside / L"dir");
        WriteFileBytes(outside / L"dir\\canary.txt", "canary");
        for (const std::wstring& folder : folders) {
            MakeFolders(folder);
            ASSERT_TRUE(MakeLink(folder + L"\\brisko-link", outside / L"dir", true));
        }
        ASSERT_TRUE(view.Create(app.Frame()));
        view.SetUpList();
    }
    void TearDown() override {
        view.DestroyWindow();
        for (const std::wstring& folder : folders) RemoveLink(folder + L"\\brisko-link", true);
    }

    void Seed() {
        for (const std::wstring& folder : folders) {
            MakeFolders(folder + L"\\sub");
            WriteFileBytes(folder + L"\\junk.tmp", "junk");
            WriteFileBytes(folder + L"\\sub\\junk.tmp", "junk");
        }
    }

    ViewHost app;
    CBriskoDoc doc;
    CListController view{app.app, doc};
    ScratchFolder outside{L"temp-rows"};
    const std::vector<std::wstring> folders{WindowsTemp(), TmpFolder()};
};

}  // namespace

TEST_F(TempRows, ArePermanentlyOrRecycledEmptiedAndKeptWithTheLinksAndWhatLiesBehindThem) {
    view.m_shell.confirmPermanent = [](HWND, IListViewHost&, const SelectionAmount&) { return true; };
    for (UINT command : {ID_EDIT_DELETE, ID_EDIT_RECYCLE}) {
        SCOPED_TRACE(command == ID_EDIT_DELETE ? "Delete" : "Move to Recycle Bin");
        Seed();
        RunModeToEnd(view, MODE_STANDARD);
        for (const std::wstring& folder : folders) {
            int row = RowOf(view, folder + L"\\");
            ASSERT_GE(row, 0) << folder;
            view.List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
        ASSERT_TRUE(view.OnCommand(command));
        ASSERT_TRUE(WaitUntil([&] { return !view.m_bBusy; }));

        for (const std::wstring& folder : folders) {
            int row = RowOf(view, folder + L"\\");
            ASSERT_GE(row, 0) << folder;
            EXPECT_EQ(view.List().GetItemState(row, LVIS_SELECTED), 0u) << folder;
            EXPECT_EQ(view.LeftReasonOf(row), LeftReason::Link) << folder;
            EXPECT_TRUE(Exists(folder)) << folder;
            EXPECT_FALSE(Exists(folder + L"\\junk.tmp")) << folder;
            EXPECT_FALSE(Exists(folder + L"\\sub")) << folder;
            EXPECT_TRUE(Exists(folder + L"\\brisko-link")) << folder;
        }
        EXPECT_EQ(ReadFileBytes(outside / L"dir\\canary.txt"), "canary");
    }
}
