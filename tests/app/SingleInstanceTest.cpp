// Two real copies of brisko.exe in the test prefix: the second wakes the
// first and leaves, unless it was started to print.
#include <gtest/gtest.h>

#include <string>

#include "app/MainFrame.h"
#include "support/TestSupport.h"
#include "win/Handle.h"

using namespace testing_support;

namespace {
constexpr const wchar_t* kSettingsKey = L"software\\Brisko";

bool SettingsKeyExists() {
    win::RegKey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

DWORD ReadLocation(const wchar_t* name) {
    DWORD value = 0, size = sizeof(value);
    ::RegGetValueW(HKEY_CURRENT_USER, L"software\\Brisko\\Brisko .NET\\Location", name, RRF_RT_REG_DWORD, nullptr,
                   &value, &size);
    return value;
}

class SingleInstanceTest : public testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        ASSERT_TRUE(first.Start(SiblingProgram(L"brisko.exe"), L""));
        ASSERT_TRUE(WaitUntil([&] { return FrameOf(first) != nullptr && ::IsWindowVisible(FrameOf(first)); }));
        frame = FrameOf(first);
        // Whatever the first copy wrote at start, the second must write nothing.
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }
    void TearDown() override {
        first.Kill();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }
    static HWND FrameOf(const ChildProcess& process) {
        auto frames = FindTopLevelWindows(process.Id(), CMainFrame::kClassName);
        return frames.empty() ? nullptr : frames.front();
    }
    // Starts a second copy and waits for its end; returns its exit code.
    long RunSecond(const std::wstring& arguments, DWORD milliseconds = 30000) {
        ChildProcess second;
        EXPECT_TRUE(second.Start(SiblingProgram(L"brisko.exe"), arguments));
        long code = second.Wait(milliseconds);
        EXPECT_NE(code, -1) << "the second copy did not end";
        return code;
    }
    bool FirstStillAnswers() {
        DWORD_PTR result = 0;
        return first.IsRunning() &&
               ::SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
    }
    ChildProcess first;
    HWND frame = nullptr;
};
}  // namespace

TEST_F(SingleInstanceTest, ASecondStartRestoresTheMinimisedFirstAndLeavesWithoutWindowOrSettings) {
    ::ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(frame) != FALSE; }));
    RunSecond(L"");
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(frame) && ::IsWindowVisible(frame); }));
    EXPECT_FALSE(::IsZoomed(frame));
    EXPECT_EQ(FindTopLevelWindows(0, CMainFrame::kClassName).size(), 1u);
    EXPECT_FALSE(SettingsKeyExists());
    EXPECT_TRUE(FirstStillAnswers());
}

TEST_F(SingleInstanceTest, ASecondStartShowsTheHiddenFirstInItsNormalState) {
    ::ShowWindow(frame, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(frame); }));
    RunSecond(L"");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(frame) != FALSE; }));
    EXPECT_FALSE(::IsIconic(frame));
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SingleInstanceTest, ASecondStartWithAFileMakesTheFirstRunItsInitialUpdateAgain) {
    ScratchFolder folder(L"doc");
    std::wstring file = folder / L"list.txt";
    WriteFileBytes(file, "x");
    // Moved away from the default placement; the initial update puts it back.
    ::SetWindowPos(frame, nullptr, 300, 200, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { RECT rc; ::GetWindowRect(frame, &rc); return rc.left == 300; }));
    RunSecond(L"\"" + file + L"\"");
    EXPECT_TRUE(WaitUntil([&] {
        RECT rc;
        ::GetWindowRect(frame, &rc);
        return rc.left == 80 && rc.top == 66 && rc.right - rc.left == 800 && rc.bottom - rc.top == 456;
    }));
    EXPECT_TRUE(FirstStillAnswers());
}

TEST_F(SingleInstanceTest, APrintStartRunsAWholeSecondCopyBesideTheFirst) {
    ScratchFolder folder(L"print");
    std::wstring file = folder / L"p.txt";
    WriteFileBytes(file, "x");
    ::ShowWindow(frame, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(frame) != FALSE; }));
    RunSecond(L"/p \"" + file + L"\"");
    // The print copy built its own frame and saved its placement when it ended;
    // the first copy was not woken.
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_EQ(ReadLocation(L"Width"), 800u);
    EXPECT_TRUE(::IsIconic(frame));
}

TEST_F(SingleInstanceTest, OverlongFileNamesAndCommandLinesReachTheFirstWithoutHarm) {
    std::wstring longName = L"C:\\" + std::wstring(297, L'n');  // 300 characters: too long for an atom
    RunSecond(L"\"" + longName + L"\"");
    RunSecond(std::wstring(10000, L'a'));
    EXPECT_TRUE(FirstStillAnswers());
    EXPECT_EQ(FindTopLevelWindows(0, CMainFrame::kClassName).size(), 1u);
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SingleInstanceTest, ClosingTheWindowSavesPlacementAndLanguageAndEndsTheProgram) {
    ::SetWindowPos(frame, nullptr, 100, 90, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(30000), 0);
    EXPECT_EQ(ReadLocation(L"Left"), 100u);
    EXPECT_EQ(ReadLocation(L"Top"), 90u);
    EXPECT_EQ(ReadLocation(L"Width"), 640u);
    EXPECT_EQ(ReadLocation(L"Height"), 480u);
    wchar_t user[260] = {};
    DWORD size = 260;
    ::GetUserNameW(user, &size);
    wchar_t src[300] = {};
    DWORD bytes = sizeof(src);
    std::wstring section = std::wstring(L"software\\Brisko\\Brisko .NET\\") + user;
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, section.c_str(), L"src", RRF_RT_REG_SZ, nullptr, src, &bytes),
              ERROR_SUCCESS);
    EXPECT_STREQ(src, L"Default");
}
