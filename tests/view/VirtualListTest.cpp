// The list as a virtual view of its listing: what other programs read from
// it, what a clean leaves in it and says about it, and the size of the
// selection in the status bar.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "catalog/BriskoDoc.h"
#include "clean/CleanTestSupport.h"
#include "res/resource.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"
#include "view/StatusTexts.h"

using namespace testing_support;
using Texts = std::vector<std::wstring>;

namespace {
class VirtualList : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Frame()));
        view.MoveWindow(0, 0, 700, 300);
        view.SetUpList();
        host.ForwardNotifications(&view);
        view.m_showAdvanceDialog = [](CBriskoDoc&) {};
        view.m_shell.confirmPermanent = [](HWND, IListViewHost&, const SelectionAmount&) { return true; };
    }
    void TearDown() override { view.DestroyWindow(); }

    std::wstring AddFile(const std::wstring& name, const std::string& bytes = "x") {
        std::wstring path = folder / name;
        WriteFileBytes(path, bytes);
        EXPECT_TRUE(AddExistingItem(view, path)) << path;
        return path;
    }
    std::wstring Pane(int pane) const {
        return win::CStatusBar(::FindWindowExW(host.Frame(), nullptr, STATUSCLASSNAMEW, nullptr)).GetPaneText(pane);
    }
    void Select(int row, bool selected = true) {
        view.List().SetItemState(row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }

    ScratchFolder folder{L"virtual"};
    FakeMachine machine = [this] {
        FakeMachine m;
        m.windows = folder / L"win";
        return m;
    }();
    ViewHost host;
    CBriskoDoc doc{machine};
    CListController view{host.app, doc};
};
}  // namespace

TEST_F(VirtualList, AnotherProcessReadsTheRowTextsAsTheListShowsThem) {
    std::wstring path = AddFile(L"shown.log", std::string(3000, 'x'));
    std::wstring out = folder / L"row.txt";
    ChildProcess reader;
    ASSERT_TRUE(reader.Start(SiblingProgram(L"read_list_row.exe"),
                             std::to_wstring(reinterpret_cast<INT_PTR>(view.GetSafeHwnd())) + L" 0 \"" + out + L"\""));
    ASSERT_TRUE(WaitUntil([&] { return !reader.IsRunning(); }));  // answering its messages meanwhile
    EXPECT_EQ(reader.Wait(0), 0);
    std::string bytes = ReadFileBytes(out);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    EXPECT_EQ(text, path + L"\n" + view.CellText(0, 1) + L"\n2 KB\n" + view.CellText(0, 3) + L"\n");
    EXPECT_FALSE(view.CellText(0, 1).empty());
}

TEST_F(VirtualList, ACleanKeepsTheRowsWhoseItemsStayUnselectedAndSaysWhatItDid) {
    ScratchFolder outside{L"virtual-outside"};
    std::wstring held = AddFile(L"held.tmp");
    std::wstring gone = AddFile(L"gone.tmp");
    std::wstring removed = AddFile(L"removed.tmp", "1234");
    std::wstring linked = folder / L"linked";
    ASSERT_TRUE(clean_test::MakeLink(linked, outside.Path(), true));
    ASSERT_TRUE(AddExistingItem(view, linked));
    ChildProcess holder = HoldFileOpen(held);
    ::DeleteFileW(gone.c_str());
    view.List().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_TRUE(view.OnCommand(ID_EDIT_DELETE));
    ASSERT_TRUE(WaitUntil([&] { return !view.m_bBusy; }));

    std::vector<std::wstring> rows = RowPaths(view);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (Texts{held, linked}));
    EXPECT_EQ(view.List().GetSelectedCount(), 0);
    EXPECT_EQ(view.m_nMode, MODE_STANDARD);  // rows are left: no next mode
    int heldRow = RowPaths(view)[0] == held ? 0 : 1;
    EXPECT_EQ(view.LeftReasonOf(heldRow), LeftReason::InUse);
    EXPECT_EQ(view.LeftReasonOf(1 - heldRow), LeftReason::Link);
    EXPECT_EQ(Pane(kCleanSummaryPane), L"Removed 1 item (4 bytes); 2 left: 1 linked, 1 in use; 1 already gone");
    holder.Kill();

    // A left row tells why when it is selected; the summary stays until the next scan.
    Select(heldRow);
    EXPECT_EQ(host.StatusText(), L"Not removed: in use");
    Select(heldRow, false);
    EXPECT_EQ(host.StatusText(), L"Ready");
    RunModeToEnd(view, MODE_STANDARD);
    EXPECT_EQ(Pane(kCleanSummaryPane), L"");
}

TEST_F(VirtualList, AnEmptyingCleansSummaryStaysOverTheNextMode) {
    AddFile(L"only.tmp", "12");
    view.List().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_TRUE(view.OnCommand(ID_EDIT_DELETE));
    ASSERT_TRUE(WaitUntil([&] { return !view.m_bBusy; }));
    EXPECT_EQ(view.m_nMode, MODE_OFFLINE_TEMP);  // Cookies Killer ran, found nothing and gave way
    EXPECT_EQ(Pane(kCleanSummaryPane), L"Removed 1 item (2 bytes)");
}

// dir1 holds 3 KB in two files and a folder (3 items), dir2 a link to a
// folder of 8 KB outside (1 item of no bytes).
TEST_F(VirtualList, TheSelectionSizePaneFollowsEverySelectionCommandAndCountsWhatFoldersHold) {
    ScratchFolder outside{L"virtual-outside"};
    WriteFileBytes(outside / L"big.bin", std::string(8192, 'x'));
    MakeFolders(folder / L"dir1\\sub");
    MakeFolders(folder / L"dir2");
    WriteFileBytes(folder / L"dir1\\x.bin", std::string(1024, 'x'));
    WriteFileBytes(folder / L"dir1\\sub\\y.bin", std::string(2048, 'x'));
    ASSERT_TRUE(clean_test::MakeLink(folder / L"dir2\\link", outside.Path(), true));
    AddFile(L"a.tmp", std::string(1536, 'x'));
    AddFile(L"b.tmp", std::string(512, 'x'));
    ASSERT_TRUE(AddExistingItem(view, folder / L"dir1"));
    ASSERT_TRUE(AddExistingItem(view, folder / L"dir2"));
    view.SortRows(0, true);  // a.tmp, b.tmp, dir1, dir2
    EXPECT_EQ(Pane(kSelectionSizePane), L"");
    Select(0);
    EXPECT_EQ(Pane(kSelectionSizePane), L"1.5 KB in 1 selected");
    Select(1);
    EXPECT_EQ(Pane(kSelectionSizePane), L"2.0 KB in 2 selected");
    view.OnCommand(ID_EDIT_INVERT_SELECTION);
    EXPECT_EQ(Pane(kSelectionSizePane), L"0 bytes in 2 selected, 2 folders measuring\u2026");
    view.OnCommand(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(Pane(kSelectionSizePane), L"2.0 KB in 4 selected, 2 folders measuring\u2026");
    view.List().SetItemState(3, 0, LVIS_SELECTED);
    EXPECT_EQ(Pane(kSelectionSizePane), L"2.0 KB in 3 selected, 1 folder measuring\u2026");
    view.OnCommand(ID_EDIT_SELECT_ALL);
    view.StartMeasuring();
    ASSERT_TRUE(WaitUntil([&] { return !view.IsMeasuring(); }));
    EXPECT_EQ(Pane(kSelectionSizePane), L"5.0 KB in 4 selected");
    EXPECT_EQ(view.CellText(2, 2), L"");  // a folder row's Size stays blank
    view.SortRows(2, false);  // the selection goes with its rows
    EXPECT_EQ(Pane(kSelectionSizePane), L"5.0 KB in 4 selected");
    view.OnCommand(ID_EDIT_UNSELECT_ALL);
    EXPECT_EQ(Pane(kSelectionSizePane), L"");
    view.SortRows(0, true);
    Select(3);
    EXPECT_EQ(Pane(kSelectionSizePane), L"0 bytes in 1 selected");
    Select(2);
    EXPECT_EQ(Pane(kSelectionSizePane), L"3.0 KB in 2 selected");
}

// The question before a permanent clean counts each folder with what it
// holds, says "measuring…" for a folder not measured yet, and a clean may
// start before the measure ends.
TEST_F(VirtualList, TheQuestionCountsFolderContentsAndACleanNeedNotWaitForTheMeasure) {
    MakeFolders(folder / L"tree\\deep");
    for (int i = 0; i < 4; ++i)
        WriteFileBytes(folder / (L"tree\\deep\\f" + std::to_wstring(i) + L".tmp"), std::string(1000, 'x'));
    AddFile(L"loose.tmp", std::string(24, 'x'));
    ASSERT_TRUE(AddExistingItem(view, folder / L"tree"));
    std::vector<std::wstring> asked;
    view.m_shell.confirmPermanent = [&asked](HWND, IListViewHost&, const SelectionAmount& amount) {
        asked.push_back(PermanentDeleteQuestion(amount));
        return false;
    };
    view.OnCommand(ID_EDIT_SELECT_ALL);
    view.OnCommand(ID_EDIT_DELETE);
    view.StartMeasuring();
    ASSERT_TRUE(WaitUntil([&] { return !view.IsMeasuring(); }));
    view.OnCommand(ID_EDIT_DELETE);
    EXPECT_EQ(asked, (Texts{L"Permanently delete 2 items (24 bytes, 1 folder still measuring\u2026)? This cannot be undone.",
                            L"Permanently delete 7 items (3.9 KB)? This cannot be undone."}));

    // A new folder row measured while a clean starts: the clean goes on, the
    // measure stops, and what stays is measured after the clean.
    MakeFolders(folder / L"later");
    ASSERT_TRUE(AddExistingItem(view, folder / L"later"));
    view.m_shell.confirmPermanent = [](HWND, IListViewHost&, const SelectionAmount&) { return true; };
    view.StartMeasuring();
    view.SortRows(0, true);  // later, loose.tmp, tree
    view.List().SetItemState(-1, 0, LVIS_SELECTED);
    Select(1);
    ASSERT_TRUE(view.OnCommand(ID_EDIT_DELETE));
    ASSERT_TRUE(WaitUntil([&] { return !view.m_bBusy && !view.IsMeasuring(); }));
    EXPECT_FALSE(Exists(folder / L"loose.tmp"));
    view.OnCommand(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(Pane(kSelectionSizePane), L"3.9 KB in 2 selected");
}

// A rescan after a sort by another column lists its rows by name: the
// arrow moves to File Name and the selection panes tell of no selection.
TEST_F(VirtualList, ARescanShowsTheOrderItMadeAndNoSelectionItDropped) {
    MakeFolders(machine.windows);
    WriteFileBytes(machine.windows + L"\\b.tmp", std::string(2048, 'x'));
    WriteFileBytes(machine.windows + L"\\a.log", std::string(4096, 'x'));
    RunModeToEnd(view, MODE_STANDARD);
    NMLISTVIEW click{};
    click.hdr.hwndFrom = view.GetSafeHwnd();
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 2;  // Size, ascending
    view.OnNotify(click.hdr);
    ASSERT_EQ(RowPaths(view), (Texts{machine.windows + L"\\b.tmp", machine.windows + L"\\a.log"}));
    view.OnCommand(ID_EDIT_SELECT_ALL);
    ASSERT_EQ(Pane(kSelectionSizePane), L"6.0 KB in 2 selected");

    WriteFileBytes(machine.windows + L"\\c.tmp", std::string(1024, 'x'));
    RunModeToEnd(view, MODE_STANDARD);  // F5
    EXPECT_EQ(RowPaths(view), (Texts{machine.windows + L"\\a.log", machine.windows + L"\\b.tmp",
                                     machine.windows + L"\\c.tmp"}));
    win::CHeaderCtrl header(view.List().GetHeader());
    for (int column = 0; column < header.GetItemCount(); ++column)
        EXPECT_EQ(header.GetItemFormat(column) & (HDF_SORTUP | HDF_SORTDOWN), column == 0 ? HDF_SORTDOWN : 0)
            << column;
    EXPECT_EQ(view.List().GetSelectedCount(), 0);
    EXPECT_EQ(Pane(kSelectionSizePane), L"");
    EXPECT_EQ(host.StatusText(), L"Ready");
}

// Rows that go at the end of the list leave it together; rows above rows
// that stay, or above unselected ones, leave one by one. Either way the
// rows left, their selection and the selection's size agree afterwards.
TEST_F(VirtualList, RowsThatGoLeaveTheListAndTheSelectionsSizeWhereverTheyLie) {
    const struct {
        std::vector<int> selected;
        std::vector<int> held;
        Texts left;  // by name
    } cases[] = {
        {{1, 2, 3, 4}, {}, {L"a.tmp"}},
        {{1, 2, 3, 4}, {4}, {L"a.tmp", L"e.tmp"}},
        {{0, 1, 3}, {1}, {L"b.tmp", L"c.tmp", L"e.tmp"}},
        {{0, 2, 4}, {2}, {L"b.tmp", L"c.tmp", L"d.tmp"}},
    };
    for (const auto& c : cases) {
        view.List().DeleteAllItems();
        for (const wchar_t* name : {L"a.tmp", L"b.tmp", L"c.tmp", L"d.tmp", L"e.tmp"})
            AddFile(name, std::string(512, 'x'));
        view.SortRows(0, true);
        std::vector<ChildProcess> holders;
        for (int row : c.held) holders.push_back(HoldFileOpen(RowPaths(view)[row]));
        for (int row : c.selected) Select(row);
        ASSERT_TRUE(view.OnCommand(ID_EDIT_DELETE));
        ASSERT_TRUE(WaitUntil([&] { return !view.m_bBusy; }));
        Texts names;
        for (const std::wstring& path : RowPaths(view)) names.push_back(path.substr(path.rfind(L'\\') + 1));
        EXPECT_EQ(names, c.left) << c.selected.size() << " selected";
        EXPECT_EQ(view.List().GetItemCount(), static_cast<int>(c.left.size()));
        EXPECT_EQ(view.List().GetSelectedCount(), 0);
        EXPECT_EQ(Pane(kSelectionSizePane), L"");
        Select(0);
        EXPECT_EQ(Pane(kSelectionSizePane), L"512 bytes in 1 selected");
    }
}
