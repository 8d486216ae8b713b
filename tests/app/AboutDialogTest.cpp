// The About dialog through its messages, opened modeless, and the Help
// commands: the caption by language, the pages they open, and which controls
// are links and how they colour themselves.
#include <windows.h>

#include <utility>

#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "app/BriskoApp.h"
#include "res/resource.h"
#include "support/RecordingOpener.h"
#include "support/TestSupport.h"

using namespace testing_support;

namespace {

class AboutDialog : public ::testing::Test {
protected:
    AboutDialog() { app.m_strLanguage = L"Default"; }
    // A language file holding `text`; the built-in texts for none.
    void UseLanguage(const wchar_t* text) {
        app.m_strLanguage = L"Default";
        if (!text) return;
        std::wstring file = folder / (L"lang" + std::to_wstring(++files) + L".lng");
        WriteTextFile(file, text);
        app.m_ini.SetFileName(file);
        app.m_strLanguage = file;
    }
    static void Press(HWND control) { ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0); }
    // The dialog's answer to a control's colour request: the brush, and the text colour it sets.
    static std::pair<LRESULT, COLORREF> Colours(HWND control) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        LRESULT brush = ::SendMessageW(::GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(control));
        COLORREF text = ::GetTextColor(dc);
        ::DeleteDC(dc);
        return {brush, text};
    }
    static LRESULT NullBrush() { return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)); }

    CBriskoApp app;
    ScratchFolder folder{L"about"};
    int files = 0;
};

}  // namespace

TEST_F(AboutDialog, TheCaptionIsTheResourceOneWithoutALanguageFileElseTheFileTextAndTheAppName) {
    const struct {
        const wchar_t* file;
        const wchar_t* caption;
        const wchar_t* version;
        const wchar_t* credit;
        const wchar_t* ok;
    } cases[] = {
        {nullptr, L"About", L"Version 3.69", L"Brisko team", L"OK"},
        {L"[Title]\r\n5=Info\r\n", L"Info Brisko .NET", L"Version 3.69", L"Brisko team", L"OK"},
        {L"[Title]\r\n4=Avanzate\r\n[Labels]\r\n8=Versione %1\r\n9=Il team di Brisko\r\n[Buttons]\r\n4=Va bene\r\n",
         L"About Brisko .NET", L"Versione 3.69", L"Il team di Brisko", L"Va bene"},
    };
    for (const auto& c : cases) {
        UseLanguage(c.file);
        CAboutDlg dialog;
        ASSERT_TRUE(dialog.Create(nullptr));
        EXPECT_EQ(dialog.GetWindowText(), c.caption);
        EXPECT_EQ(win::CWnd(dialog.GetItem(IDC_ABOUT_VERSION)).GetWindowText(), c.version);
        EXPECT_EQ(win::CWnd(dialog.GetItem(IDC_ABOUT_CREDIT)).GetWindowText(), c.credit);
        EXPECT_EQ(win::CWnd(dialog.GetItem(IDOK)).GetWindowText(), c.ok);
    }
}

TEST_F(AboutDialog, UpdateAppendsTheVersionToItsBaseAddressAndOnlineHelpOpensTheHelpPage) {
    const wchar_t* italian = L"[Status]\r\n12=https://it.brisko.example/?\r\n";
    const struct {
        const wchar_t* file;
        UINT command;
        const wchar_t* address;
    } cases[] = {
        {nullptr, ID_HELP_UPDATE, L"https://www.brisko.example/?3.690000"},
        {italian, ID_HELP_UPDATE, L"https://it.brisko.example/?3.690000"},
        {L"[Status]\r\n11=Cancello \r\n", ID_HELP_UPDATE, L"https://www.brisko.example/?3.690000"},
        {italian, ID_HELP_ONLINE, L"https://www.brisko.example/help/"},
    };
    for (const auto& c : cases) {
        UseLanguage(c.file);
        RecordingOpener opener(SE_ERR_NOASSOC);  // a failure is not reported
        app.OnHelpCommand(c.command);
        EXPECT_EQ(opener.opened, std::vector<std::wstring>{c.address});
    }
}

TEST_F(AboutDialog, OnlyThePictureAndTheMailAddressAreLinksAndOnlyTheMailLinkIsColoured) {
    RecordingOpener opener(33);
    CAboutDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    for (HWND other : {dialog.GetItem(IDC_ABOUT_VERSION), dialog.GetItem(IDC_ABOUT_STRIP),
                       ::FindWindowExW(dialog, nullptr, L"Static", L"09")})
        Press(other);
    EXPECT_TRUE(opener.opened.empty());

    HWND picture = dialog.GetItem(IDC_ABOUT_PICTURE), mail = dialog.GetItem(IDC_ABOUT_MAIL);
    Press(picture);
    EXPECT_EQ(Colours(picture), Colours(dialog.GetItem(IDC_ABOUT_CREDIT)));  // the dialog's own colours
    EXPECT_NE(Colours(picture).first, NullBrush());
    EXPECT_EQ(Colours(mail), std::make_pair(NullBrush(), RGB(0, 0, 255)));
    Press(mail);
    EXPECT_EQ(Colours(mail).second, RGB(128, 0, 128));
    EXPECT_EQ(opener.opened, (std::vector<std::wstring>{L"https://www.brisko.example/?", L"mailto:mail@brisko.test"}));
}

TEST_F(AboutDialog, AMailLinkTheShellCannotOpenStaysBlue) {
    RecordingOpener opener(SE_ERR_NOASSOC);
    CAboutDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    Press(dialog.GetItem(IDC_ABOUT_MAIL));
    EXPECT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(Colours(dialog.GetItem(IDC_ABOUT_MAIL)).second, RGB(0, 0, 255));
}
