// Cookies Killer in the window with the user's keep-list: a cookie database
// the browser cleaning understands is cleaned around the kept sites, other
// rows go as always; without a keep-list the database goes whole.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "catalog/BriskoDoc.h"
#include "privacy/browsers/SavedKeepList.h"
#include "res/resource.h"
#include "scan/Modes.h"
#include "support/BrowserSeeds.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"
#include "view/StatusTexts.h"
#include "win/Controls.h"

using namespace testing_support;

namespace {

const wchar_t kSettingsKey[] = L"Brisko-cookies-killer-keep-test";

class CookiesKillerKeep : public ::testing::Test {
protected:
    void SetUp() override {
        app.app.m_strAppName = L"Brisko .NET";
        app.app.SetRegistryKey(kSettingsKey);
        app.app.m_szUserName = L"u";
        ASSERT_TRUE(view.Create(app.Frame()));
        view.SetUpList();
        view.m_nMode = MODE_COOKIES_KILLER;
        view.m_shell.confirmPermanent = [](HWND, IListViewHost&, const SelectionAmount&) { return true; };
        SeedFirefoxProfile(folder / L"profile", folder / L"profile");
        WriteFileBytes(folder / L"profile\\cookies.txt", "# Netscape HTTP Cookie File");
    }
    void TearDown() override {
        view.DestroyWindow();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"software\\" + std::wstring(kSettingsKey)).c_str());
    }
    void CleanBoth() {
        for (const wchar_t* name : {L"cookies.sqlite", L"cookies.txt"})
            ASSERT_TRUE(AddExistingItem(view, folder / (std::wstring(L"profile\\") + name)));
        const std::vector<std::wstring> rows = RowPaths(view);
        for (size_t row = 0; row < rows.size(); ++row)
            if (rows[row].rfind(folder.Path(), 0) == 0) view.List().SetItemState(static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
        view.OnCommand(ID_EDIT_DELETE);
        ASSERT_TRUE(WaitUntil([&] { return !view.m_bBusy; }));
    }

    ViewHost app;
    CBriskoDoc doc;
    CListController view{app.app, doc};
    ScratchFolder folder{L"cookies-killer-keep"};
};

TEST_F(CookiesKillerKeep, WithAKeepListTheCookieDatabaseIsCleanedAroundTheKeptSites) {
    browsers::SaveKeepListText(app.app.Profile(), L"u", L"example.com");
    CleanBoth();
    EXPECT_EQ(QueryRows(folder / L"profile\\cookies.sqlite", "SELECT host FROM moz_cookies ORDER BY id"),
              ".example.com,WWW.Example.COM");
    EXPECT_FALSE(FullPathExists(folder / L"profile\\cookies.txt"));
    // The clean's summary says so; the row leaves the list: what it stood for is done.
    HWND bar = ::FindWindowExW(app.Frame(), nullptr, STATUSCLASSNAMEW, nullptr);
    EXPECT_EQ(win::CStatusBar(bar).GetPaneText(kCleanSummaryPane), L"Removed 1 item (27 bytes); cookies cleaned, 2 kept");
    for (const std::wstring& row : RowPaths(view)) EXPECT_EQ(row.rfind(folder.Path(), 0), std::wstring::npos);
}

TEST_F(CookiesKillerKeep, WithoutAKeepListTheCookieDatabaseGoesWhole) {
    CleanBoth();
    EXPECT_FALSE(FullPathExists(folder / L"profile\\cookies.sqlite"));
    EXPECT_FALSE(FullPathExists(folder / L"profile\\cookies.txt"));
}

}  // namespace
