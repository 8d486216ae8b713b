// The About dialog through its messages, opened modeless, and the Help
// commands of the application: captions by language, the pages they open,
// and which controls are links and how they colour themselves.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "app/BriskoApp.h"
#include "res/resource.h"
#include "support/RecordingOpener.h"
#include "support/TestSupport.h"

using namespace testing_support;

namespace {

constexpr const wchar_t* kHomePage = L"https://www.brisko.example/?";

class AboutDialog : public ::testing::Test {
protected:
    AboutDialog() { app.m_strLanguage = L"Default"; }

    // Applies a language file holding `text`; none for "Default".
    void UseLanguage(const wchar_t* text, const std::wstring& name) {
        if (!text) {
            app.m_strLanguage = L"Default";
            return;
        }
        std::wstring file = folder / (name + L".lng");
        WriteTextFile(file, text);
        app.m_ini.SetFileName(file);
        app.m_strLanguage = file;
    }
    HWND Item(int id) const { return dialog.GetItem(id); }
    static void Press(HWND control) {
        ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        ::SendMessageW(control, WM_LBUTTONUP, 0, 0);
    }
    // The answer of a control's dialog to its colour request, and the text
    // colour it leaves in the device context.
    struct Colours {
        LRESULT brush;
        COLORREF text;
    };
    static Colours AskColours(HWND control) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        LRESULT brush = ::SendMessageW(::GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(control));
        Colours colours{brush, ::GetTextColor(dc)};
        ::DeleteDC(dc);
        return colours;
    }
    static LRESULT NullBrush() { return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)); }

    CBriskoApp app;
    ScratchFolder folder{L"about"};
    CAboutDlg dialog;
};

}  // namespace

TEST_F(AboutDialog, TheCaptionIsTheResourceOneWithoutALanguageFileElseTheFileTextAndTheAppName) {
    const struct {
        const wchar_t* file;
        const wchar_t* caption;
    } cases[] = {
        {nullptr, L"About"},
        {L"[Title]\r\n5=Info\r\n", L"Info Brisko .NET"},
        {L"[Title]\r\n4=Avanzate\r\n", L"About Brisko .NET"},
    };
    int n = 0;
    for (const auto& c : cases) {
        UseLanguage(c.file, L"caption" + std::to_wstring(n++));
        CAboutDlg about;
        ASSERT_TRUE(about.Create(nullptr));
        EXPECT_EQ(about.GetWindowText(), c.caption);
        EXPECT_EQ(win::CWnd(about.GetItem(IDC_ABOUT_VERSION)).GetWindowText(), L"Version 3.69");
        about.DestroyWindow();
    }
}

TEST_F(AboutDialog, UpdateAppendsTheVersionToItsBaseAddressAndOnlineHelpOpensTheHelpPage) {
    const struct {
        const wchar_t* file;
        UINT command;
        const wchar_t* address;
    } cases[] = {
        {nullptr, ID_HELP_UPDATE, L"https://www.brisko.example/?3.690000"},
        {L"[Status]\r\n12=https://it.brisko.example/?\r\n", ID_HELP_UPDATE, L"https://it.brisko.example/?3.690000"},
        {L"[Status]\r\n11=Cancello \r\n", ID_HELP_UPDATE, L"https://www.brisko.example/?3.690000"},
        {L"[Status]\r\n12=https://it.brisko.example/?\r\n", ID_HELP_ONLINE, L"https://www.brisko.example/help/"},
    };
    int n = 0;
    for (const auto& c : cases) {
        UseLanguage(c.file, L"update" + std::to_wstring(n++));
        RecordingOpener opener(2);  // a failure is not reported
        app.OnHelpCommand(c.command);
        EXPECT_EQ(opener.opened, std::vector<std::wstring>{c.address});
    }
}

TEST_F(AboutDialog, TheVersionTheStripAndThe09TextAreNoLinks) {
    RecordingOpener opener;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND text09 = ::FindWindowExW(dialog, nullptr, L"Static", L"09");
    ASSERT_NE(text09, nullptr);
    for (HWND control : {Item(IDC_ABOUT_VERSION), Item(IDC_ABOUT_STRIP), text09}) Press(control);
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(dialog.IsWindow());
}

TEST_F(AboutDialog, TheMailLinkIsBlueTextThatOpensTheMailAddressAndTurnsPurpleOnlyWhenTheShellSucceeds) {
    const struct {
        INT_PTR shellResult;
        COLORREF after;
    } cases[] = {{33, RGB(128, 0, 128)}, {SE_ERR_NOASSOC, RGB(0, 0, 255)}};
    for (const auto& c : cases) {
        RecordingOpener opener(c.shellResult);
        CAboutDlg about;
        ASSERT_TRUE(about.Create(nullptr));
        HWND mail = about.GetItem(IDC_ABOUT_MAIL);
        Colours before = AskColours(mail);
        EXPECT_EQ(before.brush, NullBrush());
        EXPECT_EQ(before.text, RGB(0, 0, 255));
        Press(mail);
        EXPECT_EQ(opener.opened, std::vector<std::wstring>{L"mailto:mail@brisko.test"});
        EXPECT_EQ(AskColours(mail).text, c.after);
        about.DestroyWindow();
    }
}

TEST_F(AboutDialog, ThePictureLinkOpensTheHomePageAndLeavesItsColoursToTheDialog) {
    RecordingOpener opener;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND picture = Item(IDC_ABOUT_PICTURE);
    Press(picture);
    EXPECT_EQ(opener.opened, std::vector<std::wstring>{kHomePage});
    EXPECT_EQ(::SendMessageW(picture, win::WM_REFLECT_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(picture)), 0);
    // The same answer as for a control that is no link.
    Colours colours = AskColours(picture), plain = AskColours(Item(IDC_ABOUT_CREDIT));
    EXPECT_NE(colours.brush, NullBrush());
    EXPECT_EQ(colours.brush, plain.brush);
    EXPECT_EQ(colours.text, plain.text);
}
