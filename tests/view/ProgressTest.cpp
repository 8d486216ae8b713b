// The view's texts while it works and its side of a clean: progress titles,
// selection status, the next mode after a clean that emptied the list, one
// row per item, and the enabling of its commands.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "catalog/BriskoDoc.h"
#include "res/resource.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"
#include "view/CommandAvailability.h"
#include "view/Placement.h"

using namespace testing_support;

namespace {

std::vector<std::wstring>* g_titles = nullptr;
WNDPROC g_frameProc = nullptr;

// Records every title the frame is given.
LRESULT CALLBACK RecordingFrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SETTEXT && g_titles) g_titles->push_back(reinterpret_cast<const wchar_t*>(lp));
    return ::CallWindowProcW(g_frameProc, hwnd, msg, wp, lp);
}

class ViewProgress : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Frame()));
        view.MoveWindow(0, 0, 700, 300);
        view.SetUpList();
        // A clean's rows are only recorded: what the worker removes is the clean's own tests.
        view.m_removeItem = [](const std::wstring&, bool) {};
        view.m_shell.confirmPermanent = [](HWND, IListViewHost&, const SelectionAmount&) { return true; };
        view.m_showAdvanceDialog = [this](CBriskoDoc&) { ++advanceDialogs; };
        host.ForwardNotifications(&view);
        g_titles = &titles;
        g_frameProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            host.Frame(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingFrameProc)));
    }
    void TearDown() override {
        ::SetWindowLongPtrW(host.Frame(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_frameProc));
        g_titles = nullptr;
        view.DestroyWindow();
    }

    void AddFiles(int count) {
        for (int i = 0; i < count; ++i) {
            std::wstring path = folder / (L"f" + std::to_wstring(i) + L".tmp");
            WriteFileBytes(path, "x");
            ASSERT_TRUE(AddExistingItem(view, path));
        }
    }
    void SelectAll() {
        for (int row = 0; row < view.List().GetItemCount(); ++row)
            view.List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    bool Clean() { return view.OnCommand(ID_EDIT_DELETE) && WaitUntil([&] { return !view.m_bBusy; }); }

    ScratchFolder folder{L"progress"};
    FakeMachine machine = [this] {
        FakeMachine m;
        m.windows = folder.Path() + L"\\win";
        m.folders[33] = folder.Path() + L"\\cookies";
        return m;
    }();
    ViewHost host;
    CBriskoDoc doc{machine};
    CListController view{host.app, doc};
    std::vector<std::wstring> titles;
    int advanceDialogs = 0;
};

}  // namespace

TEST_F(ViewProgress, FourRowsShowZeroToSeventyFivePercentThenTheModeTitleAndTheStatus) {
    view.m_strTitle = L"Standard - Brisko .NET";
    AddFiles(5);
    view.List().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(host.StatusText(), L"1 / 5 selected");
    SelectAll();
    view.List().SetItemState(4, 0, LVIS_SELECTED);
    EXPECT_EQ(host.StatusText(), L"4 / 5 selected");
    ASSERT_TRUE(Clean());
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"0% Completed - Standard - Brisko .NET",
                                                 L"25% Completed - Standard - Brisko .NET",
                                                 L"50% Completed - Standard - Brisko .NET",
                                                 L"75% Completed - Standard - Brisko .NET",
                                                 L"Standard - Brisko .NET"}));
    EXPECT_EQ(view.List().GetItemCount(), 1);
    EXPECT_EQ(host.StatusText(), L"Ready");
}

TEST_F(ViewProgress, ACleanThatEmptiesTheListRunsTheNextModeInTheirCycle) {
    MakeFolders(machine.windows);
    MakeFolders(machine.folders[33]);
    WriteFileBytes(machine.folders[33] + L"\\user@site.txt", "cookie");
    const struct {
        BYTE cleaned;
        BYTE next;
        int dialogs;
    } cycle[] = {{MODE_STANDARD, MODE_COOKIES_KILLER, 0},
                 {MODE_COOKIES_KILLER, MODE_OFFLINE_TEMP, 1},
                 {MODE_OFFLINE_TEMP, MODE_STANDARD, 0}};
    for (const auto& step : cycle) {
        RunModeToEnd(view, step.cleaned);
        view.List().DeleteAllItems();
        AddFiles(1);
        SelectAll();
        advanceDialogs = 0;
        ASSERT_TRUE(Clean());
        EXPECT_EQ(view.m_nMode, step.next);
        EXPECT_EQ(host.Title(), ModeTitle(step.next));
        EXPECT_EQ(advanceDialogs, step.dialogs);
    }
}

TEST_F(ViewProgress, OneRowPerItemWhateverItsSpellingUntilTheListIsEmptied) {
    AddFiles(1);
    std::wstring path = folder / L"f0.tmp", upper = path;
    for (wchar_t& c : upper) c = towupper(c);
    WIN32_FIND_DATAW find{};
    for (const std::wstring& spelling : {path, upper, folder / L".\\f0.tmp"}) view.AddFoundItem(spelling, find);
    EXPECT_EQ(view.List().GetItemCount(), 1);
    RunModeToEnd(view, MODE_STANDARD);  // empties the list
    ASSERT_TRUE(AddExistingItem(view, path));
    EXPECT_EQ(view.List().GetItemCount(), 1);
}

TEST(CommandAvailability, IdleAndBusyStatesFollowTheTable) {
    const UINT commands[] = {ID_OPTIONS_STANDARD, ID_OPTIONS_COOKIES,   ID_OPTIONS_OFFLINE_TEMP, ID_EDIT_DELETE,
                             ID_EDIT_RECYCLE,     ID_FILE_OPEN,         ID_EDIT_SELECT_ALL,      ID_EDIT_UNSELECT_ALL,
                             ID_EDIT_INVERT_SELECTION, ID_VIEW_LANGUAGE, ID_OPTIONS_RULES, ID_EDIT_STOP};
    const struct {
        CommandState state;
        const char* enabled;  // one letter per command above
    } cases[] = {
        {{0, 0, false, true}, "YYYNNNNNNYYN"},    // an empty list
        {{5, 0, false, true}, "YYYNNNYNYYYN"},    // rows, none selected
        {{5, 2, false, false}, "YNYYYYYYYYYN"},   // some selected; Cookies found nothing last time
        {{5, 5, false, true}, "YYYYYYNYYYYN"},    // all selected
        {{5, 2, true, true}, "NNNNNNNYNNNY"},     // a clean runs: Unselect All, and Escape stops it
        {{5, 0, true, true}, "NNNNNNNNNNNY"},
        {{0, 0, true, true, MODE_STANDARD}, "YNNNNNNNNNNY"},       // a scan runs: its own command stops it
        {{0, 0, true, false, MODE_COOKIES_KILLER}, "NYNNNNNNNNNY"},
    };
    for (const auto& c : cases)
        for (size_t i = 0; i < std::size(commands); ++i)
            EXPECT_EQ(IsCommandAvailable(commands[i], c.state), c.enabled[i] == 'Y')
                << "command " << commands[i] << " rows " << c.state.rows << " selected " << c.state.selected
                << (c.state.busy ? " busy" : "");
}

TEST_F(ViewProgress, TheRealEditMenuFollowsTheTableIdleAndDuringAClean) {
    AddFiles(3);
    view.List().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    HMENU edit = ::GetSubMenu(menu, 1);
    auto enabled = [&](UINT id) {
        view.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), MAKELPARAM(1, FALSE));
        return (::GetMenuState(edit, id, MF_BYCOMMAND) & MF_GRAYED) == 0;
    };
    const UINT commands[] = {ID_EDIT_DELETE, ID_EDIT_RECYCLE, ID_EDIT_SELECT_ALL, ID_EDIT_UNSELECT_ALL,
                             ID_EDIT_INVERT_SELECTION};
    std::vector<bool> idle, busy;
    for (UINT id : commands) idle.push_back(enabled(id));
    HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    view.m_removeItem = [go](const std::wstring&, bool) { ::WaitForSingleObject(go, 20000); };
    ASSERT_TRUE(view.StartClean(true));
    for (UINT id : commands) busy.push_back(enabled(id));
    ::SetEvent(go);
    ASSERT_TRUE(WaitUntil([&] { return !view.m_bBusy; }));
    ::CloseHandle(go);
    ::DestroyMenu(menu);
    EXPECT_EQ(idle, (std::vector<bool>{true, true, true, true, true}));
    EXPECT_EQ(busy, (std::vector<bool>{false, false, false, true, false}));
}

TEST(Placement, TheStoredRectangleOnlyWhenWideEnoughWithAHeightAndNotMinimised) {
    const RECT standard{80, 66, 880, 522};
    const struct {
        int top, left, width, height;
        RECT expected;
    } cases[] = {
        {0, 0, 0, 0, standard},           // nothing stored
        {10, 20, 450, 300, standard},     // exactly 450 wide
        {10, 20, 451, 300, {20, 10, 471, 310}},
        {10, -32000, 800, 600, standard},  // stored while minimised
        {10, 20, 800, 0, standard},
        {-5, -8, 1000, 700, {-8, -5, 992, 695}},
    };
    for (const auto& c : cases) {
        RECT rc = ChooseWindowPlacement(c.top, c.left, c.width, c.height);
        EXPECT_TRUE(::EqualRect(&rc, &c.expected)) << c.top << " " << c.left << " " << c.width << " " << c.height;
    }
}

TEST_F(ViewProgress, TheAdvanceWorkersFilesReachTheListFromItsOwnThread) {
    std::wstring path = folder / L"History";
    MakeFolders(path);
    WIN32_FIND_DATAW find{};
    find.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    struct Hand {
        CListFromWorker list;
        std::wstring path;
        WIN32_FIND_DATAW find;
    } hand{CListFromWorker(view.GetSafeHwnd()), path, find};
    auto run = [](void* parameter) -> DWORD {
        auto* from = static_cast<Hand*>(parameter);
        from->list.AddFoundItem(from->path, from->find);
        return 0;
    };
    HANDLE worker = ::CreateThread(nullptr, 0, run, &hand, 0, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }));
    ::CloseHandle(worker);
    EXPECT_EQ(RowPaths(view), (std::vector<std::wstring>{path}));
    EXPECT_EQ(view.List().GetItemText(0, 2), L"");  // a folder row
}
