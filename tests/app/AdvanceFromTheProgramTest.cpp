// The running program: Ctrl+H runs Offline Temp, the Advance dialog opens over
// it and stays through a second start, Clean clears the typed addresses, and
// the dialog closes by itself.
#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "res/resource.h"
#include "support/TestSupport.h"
#include "win/Window.h"

using namespace testing_support;

namespace {

HWND AdvanceDialogOf(const ChildProcess& program) {
    for (HWND dialog : FindTopLevelWindows(program.Id(), L"#32770"))
        if (win::CWnd(dialog).GetWindowText() == L"Advance - Brisko .NET") return dialog;
    return nullptr;
}

bool TypedUrlsExist() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\TypedURLs", 0, KEY_READ, &key))
        return false;
    ::RegCloseKey(key);
    return true;
}

}  // namespace

TEST(AdvanceFromTheProgram, OfflineTempOpensTheDialogWhoseCleanClearsTheChosenTracesThenCloses) {
    HKEY typed = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\TypedURLs", 0, nullptr,
                                0, KEY_ALL_ACCESS, nullptr, &typed, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(typed, L"url1", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"http://brisko.example/"), 46);
    ::RegCloseKey(typed);

    ChildProcess program;
    ASSERT_TRUE(program.Start(SiblingProgram(L"brisko.exe"), L""));
    HWND frame = nullptr;
    // The window shows at once; its first scan is over when the list takes input again.
    ASSERT_TRUE(WaitUntil([&] {
        auto frames = FindTopLevelWindows(program.Id(), CMainFrame::kClassName);
        frame = frames.empty() ? nullptr : frames.front();
        HWND list = frame ? ::FindWindowExW(frame, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
        return frame && ::IsWindowVisible(frame) && list && ::IsWindowEnabled(list) &&
               win::CWnd(frame).GetWindowText() == L"Standard - Brisko .NET";
    }, 60000));
    ::PostMessageW(frame, WM_COMMAND, ID_OPTIONS_OFFLINE_TEMP, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = AdvanceDialogOf(program)) != nullptr; }));
    EXPECT_EQ(win::CWnd(frame).GetWindowText(), L"Offline Temp - Brisko .NET");

    // A second start, here with a file name, neither closes the dialog nor scans again.
    ScratchFolder folder{L"second-start"};
    WriteFileBytes(folder / L"notes.txt", "x");  // a document the program can read
    ChildProcess second;
    ASSERT_TRUE(second.Start(SiblingProgram(L"brisko.exe"), L"\"" + folder / L"notes.txt" + L"\""));
    EXPECT_NE(second.Wait(30000), -1);
    ::Sleep(500);
    EXPECT_TRUE(::IsWindow(dialog));
    EXPECT_EQ(win::CWnd(frame).GetWindowText(), L"Offline Temp - Brisko .NET");

    // Typed URL on as well, then Clean.
    ::SendMessageW(::GetDlgItem(dialog, IDC_TYPED_URL), BM_SETCHECK, BST_CHECKED, 0);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_TYPED_URL, BN_CLICKED), 0);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CLEAN, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 60000));
    EXPECT_FALSE(TypedUrlsExist());
    EXPECT_TRUE(program.IsRunning());
    program.Kill();
}
