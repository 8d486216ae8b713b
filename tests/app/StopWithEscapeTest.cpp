// Escape through the program's own keys: it stops a scan, keeping what was
// found, and a clean after the row in hand, keeping the rows not reached.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/BriskoApp.h"
#include "app/MainFrame.h"
#include "catalog/BriskoDoc.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "view/ListController.h"

using namespace testing_support;

namespace {
class StopWithEscape : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        machine.windows = folder / L"win";
        MakeFolders(machine.windows);
        doc = std::make_unique<CBriskoDoc>(machine);
        frame = std::make_unique<CMainFrame>(app, *doc);
        ASSERT_TRUE(frame->LoadFrame());
        app.m_pMainWnd = win::CWnd(frame->GetSafeHwnd());
        app.m_hAccelTable = frame->GetAccelerators();
        View().m_shell.confirmPermanent = [](HWND, IListViewHost&, const SelectionAmount&) { return true; };
        frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        ::DestroyWindow(frame->GetSafeHwnd());
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        frame.reset();
        app.m_pMainWnd = win::CWnd();
    }
    CListController& View() { return *frame->GetView(); }
    // The key as the user presses it: to the window with the focus, through the program's accelerators.
    void PressEscape() {
        HWND focus = ::GetFocus() ? ::GetFocus() : frame->GetSafeHwnd();
        ::PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    }
    // Pumps as the program's loop does, until `done`.
    template <typename Done>
    bool PumpUntil(Done done) {
        DWORD start = ::GetTickCount();
        while (!done()) {
            if (::GetTickCount() - start > 20000) return false;
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (app.PreTranslateMessage(msg)) continue;
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::Sleep(10);
        }
        return true;
    }

    ScratchFolder folder{L"escape"};
    FakeMachine machine;
    CBriskoApp app;
    std::unique_ptr<CBriskoDoc> doc;
    std::unique_ptr<CMainFrame> frame;
};
}  // namespace

TEST_F(StopWithEscape, AScanEndsWithWhatItFoundAndTheModeTitle) {
    const int files = 1500;
    for (int i = 0; i < files; ++i) WriteFileBytes(machine.windows + L"\\f" + std::to_wstring(i) + L".tmp", "x");
    View().RunMode(MODE_STANDARD);
    ASSERT_TRUE(PumpUntil([&] { return !View().IsScanning(); }));
    EXPECT_EQ(View().List().GetItemCount(), files);
    PressEscape();  // waiting before the scan's first match
    View().RunMode(MODE_STANDARD);
    ASSERT_TRUE(PumpUntil([&] { return !View().IsScanning(); }));
    EXPECT_LT(View().List().GetItemCount(), files);
    EXPECT_FALSE(View().m_bBusy);
    EXPECT_TRUE(View().IsWindowEnabled());
    EXPECT_EQ(frame->GetWindowText(), ModeTitle(MODE_STANDARD));
    EXPECT_EQ(View().m_nMode, MODE_STANDARD);
}

TEST_F(StopWithEscape, ACleanEndsAfterTheRowInHandAndKeepsTheRest) {
    for (const wchar_t* name : {L"a.tmp", L"b.tmp", L"c.tmp"}) WriteFileBytes(machine.windows + L"\\" + name, "x");
    View().RunMode(MODE_STANDARD);
    ASSERT_TRUE(PumpUntil([&] { return !View().IsScanning(); }));
    ASSERT_EQ(View().List().GetItemCount(), 3);
    HANDLE started = ::CreateEventW(nullptr, TRUE, FALSE, nullptr), go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    int removed = 0;
    View().m_removeItem = [&](const std::wstring&, bool) {
        ++removed;
        ::SetEvent(started);
        ::WaitForSingleObject(go, 20000);
    };
    View().List().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    ::SendMessageW(frame->GetSafeHwnd(), WM_COMMAND, ID_EDIT_DELETE, 0);
    ASSERT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(started, 0) == WAIT_OBJECT_0; }));
    PressEscape();
    int turns = 0;
    PumpUntil([&] { return ++turns > 5; });
    ::SetEvent(go);
    ASSERT_TRUE(PumpUntil([&] { return !View().m_bBusy; }));
    ::CloseHandle(started);
    ::CloseHandle(go);
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(View().List().GetItemCount(), 2);
    EXPECT_EQ(View().List().GetSelectedCount(), 2);  // not reached: as they were
    EXPECT_EQ(View().m_nMode, MODE_STANDARD);        // rows are left, so no next mode
}
