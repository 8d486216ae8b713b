#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "catalog/BriskoDoc.h"
#include "clean/DeleteItem.h"
#include "view/WorkerProtocol.h"
#include "res/resource.h"
#include "view/ListController.h"
#include "scan/Modes.h"
#include "clean/CleanTestSupport.h"
#include "support/ViewHost.h"

using namespace testing_support;

namespace {
// A real view in a frame of its own, with rows that name real files.
class CleanRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(app.Frame()));
        view.SetUpList();
        // The question before a permanent clean has its own tests.
        view.m_shell.confirmPermanent = [](HWND, IListViewHost&, const SelectionAmount&) { return true; };
    }
    void TearDown() override { view.DestroyWindow(); }

    void AddFile(const std::wstring& name) {
        std::wstring path = folder / name;
        WriteFileBytes(path, "x");
        AddPath(path);
    }
    void AddPath(const std::wstring& path) { ASSERT_TRUE(AddExistingItem(view, path)) << path; }
    void Select(std::initializer_list<int> rows) {
        for (int row : rows) view.List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    std::vector<std::wstring> Rows() const { return RowPaths(view); }
    bool WaitForEnd() { return WaitUntil([&] { return !view.m_bBusy; }); }

    ViewHost app;
    CBriskoDoc doc;
    CListController view{app.app, doc};
    ScratchFolder folder{L"worker"};
};

// Records the rows a clean removes; the first removal may wait for a go.
struct RecordingRemover {
    std::mutex lock;
    std::vector<std::wstring> removed;
    HANDLE go = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
    HANDLE firstStarted = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~RecordingRemover() {
        ::CloseHandle(go);
        ::CloseHandle(firstStarted);
    }
    ItemRemover Remover() {
        return [this](const std::wstring& path, bool) {
            ::SetEvent(firstStarted);
            ::WaitForSingleObject(go, 20000);
            std::lock_guard<std::mutex> guard(lock);
            removed.push_back(path);
        };
    }
};
}  // namespace

TEST_F(CleanRun, RemovesTheSelectedRowsFromTheLastToTheFirst) {
    for (const wchar_t* name : {L"f.tmp", L"e.tmp", L"d.tmp", L"c.tmp", L"b.tmp", L"a.tmp"}) AddFile(name);
    ASSERT_EQ(Rows(), (std::vector<std::wstring>{folder / L"a.tmp", folder / L"b.tmp", folder / L"c.tmp",
                                                 folder / L"d.tmp", folder / L"e.tmp", folder / L"f.tmp"}));
    RecordingRemover recorder;
    view.m_removeItem = recorder.Remover();
    Select({0, 2, 5});
    EXPECT_TRUE(view.OnCommand(ID_EDIT_DELETE));
    EXPECT_TRUE(view.m_bBusy);
    EXPECT_FALSE(view.IsWindowEnabled());
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(recorder.removed, (std::vector<std::wstring>{folder / L"f.tmp", folder / L"c.tmp", folder / L"a.tmp"}));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{folder / L"b.tmp", folder / L"d.tmp", folder / L"e.tmp"}));
    EXPECT_TRUE(view.IsWindowEnabled());
    EXPECT_FALSE(view.IsCleaning());
    EXPECT_EQ(view.LastCleanPath(), folder / L"a.tmp");
}

TEST_F(CleanRun, AFolderRowWithAFileInUseKeepsThatFileAndItsRowAVanishedFileIsDropped) {
    std::wstring item = folder / L"Cache";
    MakeFolders(item + L"\\x\\y");
    WriteFileBytes(item + L"\\x\\y\\held.dat", "x");
    WriteFileBytes(item + L"\\x\\free.dat", "x");
    WriteFileBytes(item + L"\\top.dat", "x");
    AddPath(item);
    AddFile(L"vanished.tmp");
    ::DeleteFileW((folder / L"vanished.tmp").c_str());  // gone between scan and clean
    ChildProcess holder = HoldFileOpen(item + L"\\x\\y\\held.dat");
    Select({0, 1});
    view.OnCommand(ID_EDIT_DELETE);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{item}));
    EXPECT_EQ(view.List().GetSelectedCount(), 0);
    EXPECT_EQ(view.LeftReasonOf(0), LeftReason::InUse);
    EXPECT_TRUE(Exists(item + L"\\x\\y\\held.dat"));
    EXPECT_FALSE(Exists(item + L"\\x\\free.dat"));
    EXPECT_FALSE(Exists(item + L"\\top.dat"));
}

TEST_F(CleanRun, RowsToldInBatchesKeepExactlyTheItemsThatStayUnselectedWithTheirReason) {
    constexpr int kFiles = 40;
    for (int i = 0; i < kFiles; ++i) AddFile(L"f" + std::to_wstring(100 + i) + L".tmp");
    ChildProcess first = HoldFileOpen(folder / L"f107.tmp");
    ChildProcess second = HoldFileOpen(folder / L"f131.tmp");
    for (int row = 0; row < kFiles; ++row) Select({row});
    view.OnCommand(ID_EDIT_DELETE);
    ASSERT_TRUE(WaitForEnd());
    // Each row found goes on top.
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{folder / L"f131.tmp", folder / L"f107.tmp"}));
    EXPECT_EQ(view.List().GetSelectedCount(), 0);
    EXPECT_EQ(view.LeftReasonOf(0), LeftReason::InUse);
    EXPECT_EQ(view.LeftReasonOf(1), LeftReason::InUse);
}

TEST_F(CleanRun, UnselectingDuringACleanLeavesTheRestAndASecondCommandDoesNothing) {
    for (const wchar_t* name : {L"c.tmp", L"b.tmp", L"a.tmp"}) AddFile(name);
    RecordingRemover recorder;
    ::ResetEvent(recorder.go);
    view.m_removeItem = recorder.Remover();
    Select({0, 1, 2});
    view.OnCommand(ID_EDIT_RECYCLE);
    // The worker reads the rows through this thread's messages: wait pumping them.
    ASSERT_TRUE(WaitUntil([&] { return ::WaitForSingleObject(recorder.firstStarted, 0) == WAIT_OBJECT_0; }));
    // While the worker removes row 2: a second clean, then Unselect All.
    EXPECT_FALSE(view.StartClean(true));
    EXPECT_TRUE(view.OnCommand(ID_EDIT_DELETE));
    EXPECT_EQ(view.m_nCleanMode, 0);
    view.List().SetItemState(-1, 0, LVIS_SELECTED);
    ::SetEvent(recorder.go);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(recorder.removed, (std::vector<std::wstring>{folder / L"c.tmp"}));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{folder / L"a.tmp", folder / L"b.tmp"}));
}

TEST_F(CleanRun, TheStatusBarShowsTheRowBeingRemoved) {
    AddFile(L"shown.tmp");
    RecordingRemover recorder;
    ::ResetEvent(recorder.go);
    view.m_removeItem = recorder.Remover();
    Select({0});
    view.OnCommand(ID_EDIT_DELETE);
    EXPECT_TRUE(WaitUntil([&] { return app.StatusText() == L"Deleting " + folder / L"shown.tmp"; }));
    ::SetEvent(recorder.go);
    ASSERT_TRUE(WaitForEnd());
}

TEST_F(CleanRun, AnEmptySelectionRemovesNothingAndEnds) {
    AddFile(L"kept.tmp");
    RecordingRemover recorder;
    view.m_removeItem = recorder.Remover();
    EXPECT_TRUE(view.StartClean(true));  // the command itself is unavailable without a selection
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(recorder.removed.empty());
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(CleanRun, TheScrollBarFollowsTheRowsThatGoOutOfSightWhileTheRowsInSightStay) {
    constexpr int kFiles = 300, kHeldAt = 150;
    for (int i = 0; i < kFiles; ++i) AddFile(L"f" + std::to_wstring(1000 + i) + L".tmp");
    const std::wstring heldPath = Rows()[kHeldAt], firstPath = Rows()[0];
    RecordingRemover recorder;
    ::ResetEvent(recorder.go);
    // Every row below the held one goes at once; the held one waits.
    view.m_removeItem = [&](const std::wstring& path, bool) {
        if (path != heldPath) return;
        ::SetEvent(recorder.firstStarted);
        ::WaitForSingleObject(recorder.go, 20000);
    };
    view.List().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    view.List().SetItemState(0, 0, LVIS_SELECTED);  // a row stays, so no next mode follows
    ASSERT_LT(view.List().GetCountPerPage(), kHeldAt);
    view.OnCommand(ID_EDIT_DELETE);
    auto barRows = [&] {
        SCROLLINFO bar{sizeof(bar), SIF_RANGE};
        return ::GetScrollInfo(view.List().GetSafeHwnd(), SB_VERT, &bar) ? bar.nMax + 1 : -1;
    };
    EXPECT_TRUE(WaitUntil([&] { return barRows() == kHeldAt + 1; })) << barRows();
    EXPECT_TRUE(view.m_bBusy);
    EXPECT_EQ(view.List().GetTopIndex(), 0);
    ::SetEvent(recorder.go);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Rows(), std::vector<std::wstring>{firstPath});
}

TEST(DeleteFoundItem, RemovesFilesAndFoldersAndTellsTheStatusBar) {
    clean_test::FrameWithStatusBar app;
    ScratchFolder folder(L"delete");
    std::wstring file = folder / L"a.tmp", tree = folder / L"tree";
    WriteFileBytes(file, "x");
    MakeFolders(tree + L"\\sub\\deeper");
    WriteFileBytes(tree + L"\\sub\\deeper\\f.log", "x");
    WriteFileBytes(tree + L"\\g.log", "x");
    ::SetFileAttributesW((tree + L"\\g.log").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

    CStatusBarReport report(app.StatusBar());
    RemovalContext removal{MachineGuards(), report};
    EXPECT_TRUE(DeleteFoundItem(file, true, removal));
    EXPECT_FALSE(Exists(file));
    // With the built-in language, "Deleting " and one more blank.
    EXPECT_EQ(app.StatusText(), L"Deleting  " + file);
    EXPECT_TRUE(DeleteFoundItem(tree, true, removal));
    EXPECT_FALSE(Exists(tree));

    // A vanished path fails before any status text, a cache index too: it
    // is handed to nothing by its name.
    for (const wchar_t* gone : {L"gone.tmp", L"index.dat"}) {
        app.SetStatusText(L"before");
        EXPECT_FALSE(DeleteFoundItem(folder / gone, true, removal));
        EXPECT_EQ(app.StatusText(), L"before");
    }
}

// The window hears of finished rows at most ten times a second, however
// quickly the worker finishes them and the window takes them: each notice
// wakes the window's thread, which shares the processors with the worker.
TEST(CleanNotices, TheWorkerTellsTheWindowAtMostTenTimesASecond) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    std::shared_ptr<CleanControl> control = MakeCleanControl(window);
    int notices = 0;
    const ULONGLONG start = ::GetTickCount64();
    while (::GetTickCount64() - start < 550) {
        control->Tell();  // a row finished
        MSG msg;
        while (::PeekMessageW(&msg, window, WM_CLEANITEM, WM_CLEANITEM, PM_REMOVE)) {
            ++notices;
            control->Taken();  // the window took the batch at once
        }
        ::Sleep(1);
    }
    ::DestroyWindow(window);
    EXPECT_GE(notices, 2);  // the notices go on while rows finish
    EXPECT_LE(notices, 6);  // one at once, then one per tenth of a second
}
