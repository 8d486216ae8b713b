// The Browsers dialog, opened modeless on a Chrome and a Firefox profile in
// a scratch folder: its first state, a preview, a clean and the choices it
// remembers for the next opening.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/BriskoApp.h"
#include "res/resource.h"
#include "support/BrowserSeeds.h"
#include "support/ConfirmAnswer.h"
#include "support/TestSupport.h"
#include "view/BrowsersDialog.h"
#include "win/Controls.h"

using namespace testing_support;
using namespace browsers;

namespace {

const wchar_t kSettingsKey[] = L"Brisko-browsers-dialog-test";

class BrowsersDialog : public ::testing::Test {
protected:
    BrowsersDialog() {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        app.m_strLanguage = L"Default";
        settings.SetRoot(kSettingsKey, L"Brisko .NET");
        SeedChromiumProfile(folder / L"local\\Google\\Chrome\\User Data\\Default",
                            folder / L"local\\Google\\Chrome\\User Data\\Default");
        SeedFirefoxProfile(firefox, folder / L"local\\Mozilla\\Firefox\\Profiles\\abcd.default-release");
        WriteProfilesIni(folder / L"roaming\\Mozilla\\Firefox", {{L"default-release", L"Profiles/abcd.default-release"}});
    }
    ~BrowsersDialog() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"software\\" + std::wstring(kSettingsKey)).c_str()); }
    // The next questions are answered so.
    void AnswerWith(int button, bool tick) {
        answer.button = button;
        answer.tick = tick;
    }
    ConfirmAnswer answer;
    CConfirmAnswerer answering{answer};

    std::wstring Text(const CBrowsersDlg& dialog, int id) const { return win::CWnd(dialog.GetItem(id)).GetWindowText(); }
    std::wstring State(const CBrowsersDlg& dialog, int row) const {
        return win::CListCtrl(dialog.GetItem(IDC_BROWSERS_LIST)).GetItemText(row, 2);
    }
    bool On(const CBrowsersDlg& dialog, TraceKind kind) const {
        return ::SendMessageW(dialog.GetItem(IDC_BROWSERS_KIND_FIRST + static_cast<int>(kind)), BM_GETCHECK, 0, 0) ==
               BST_CHECKED;
    }
    void Click(CBrowsersDlg& dialog, int id) {
        HWND control = dialog.GetItem(id);
        if ((::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX)
            ::SendMessageW(control, BM_SETCHECK, ::SendMessageW(control, BM_GETCHECK, 0, 0) ? BST_UNCHECKED : BST_CHECKED, 0);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    }
    std::unique_ptr<CBrowsersDlg> Open() {
        auto dialog = std::make_unique<CBrowsersDlg>(settings, L"u", BrowserRoots{folder / L"roaming", folder / L"local"});
        EXPECT_TRUE(dialog->Create(nullptr));
        return dialog;
    }

    CBriskoApp app;
    win::CProfile settings;
    ScratchFolder folder{L"browsers-dialog"};
    const std::wstring chromeHistory = folder / L"local\\Google\\Chrome\\User Data\\Default\\History";
    const std::wstring firefox = folder / L"roaming\\Mozilla\\Firefox\\Profiles\\abcd.default-release";
};

TEST_F(BrowsersDialog, PreviewCountsAndChangesNothingThenCleanTellsEachProfileAndTheChoicesAreRemembered) {
    WriteFileBytes(firefox + L"\\parent.lock", "");
    ChildProcess firefoxRuns = HoldFileOpen(firefox + L"\\parent.lock");
    auto dialog = Open();
    EXPECT_EQ(dialog->GetWindowText(), L"Browsers - Brisko .NET");
    ASSERT_EQ(win::CListCtrl(dialog->GetItem(IDC_BROWSERS_LIST)).GetItemCount(), 2);
    EXPECT_EQ(State(*dialog, 0), L"ready");
    EXPECT_EQ(State(*dialog, 1), L"in use: close the browser");
    for (TraceKind kind : kAllTraceKinds) EXPECT_EQ(On(*dialog, kind), kind != TraceKind::Sessions);

    ::SetWindowTextW(dialog->GetItem(IDC_BROWSERS_KEEP), L"example.com");
    Click(*dialog, IDC_BROWSERS_KIND_FIRST + static_cast<int>(TraceKind::Forms));
    auto before = Snapshot(folder.Path());
    Click(*dialog, IDC_BROWSERS_PREVIEW);
    // The preview runs on the worker: the click returns at once, the dialog answers meanwhile.
    EXPECT_TRUE(dialog->Running());
    EXPECT_FALSE(::IsWindowEnabled(dialog->GetItem(IDC_BROWSERS_PREVIEW)));
    ASSERT_TRUE(WaitUntil([&] { return dialog->Finished(); }));
    EXPECT_EQ(Text(*dialog, IDC_BROWSERS_COUNT_FIRST), L"History: 3 visits");
    EXPECT_EQ(Text(*dialog, IDC_BROWSERS_COUNT_FIRST + 1), L"Downloads: 1");
    EXPECT_EQ(Text(*dialog, IDC_BROWSERS_COUNT_FIRST + 2), L"Cookies: 3 (2 kept)");
    EXPECT_EQ(Text(*dialog, IDC_BROWSERS_COUNT_FIRST + 3), L"");  // Form data is off
    EXPECT_EQ(Text(*dialog, IDC_BROWSERS_COUNT_FIRST + 5), L"Cache: 2 KB");
    EXPECT_EQ(State(*dialog, 0), L"History: 3 visits; Downloads: 1; Cookies: 3 (2 kept); Cache: 2 KB");
    EXPECT_TRUE(Differences(before, Snapshot(folder.Path())).empty());

    // Clean asks first, with what would go; No changes nothing.
    AnswerWith(IDNO, false);
    Click(*dialog, IDC_BROWSERS_CLEAN);
    EXPECT_FALSE(::IsWindowEnabled(dialog->GetItem(IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return dialog->Finished(); }));
    EXPECT_EQ(answer.dialogs, 1);
    EXPECT_EQ(answer.question,
              L"Clean 3 visits, 1 downloads, 3 cookies (2 kept), cache (2 KB) from 1 profile? This cannot be undone.");
    EXPECT_TRUE(Differences(before, Snapshot(folder.Path())).empty());
    AnswerWith(IDYES, true);
    Click(*dialog, IDC_BROWSERS_CLEAN);
    ASSERT_TRUE(WaitUntil([&] { return dialog->Finished(); }));
    EXPECT_EQ(answer.dialogs, 2);
    EXPECT_EQ(State(*dialog, 0), L"cleaned: History: 3 visits; Downloads: 1; Cookies: 3 (2 kept); Cache: 2 KB");
    EXPECT_EQ(State(*dialog, 1), L"in use: close the browser");
    EXPECT_EQ(QueryRows(chromeHistory, "SELECT COUNT(*) FROM visits"), "0");
    EXPECT_TRUE(::IsWindowEnabled(dialog->GetItem(IDCANCEL)));
    Click(*dialog, IDCANCEL);
    EXPECT_FALSE(dialog->IsWindow());
    firefoxRuns.Kill();
    firefoxRuns.Wait(5000);

    auto again = Open();
    for (TraceKind kind : kAllTraceKinds)
        EXPECT_EQ(On(*again, kind), kind != TraceKind::Sessions && kind != TraceKind::Forms);
    EXPECT_EQ(Text(*again, IDC_BROWSERS_KEEP), L"example.com");
    EXPECT_EQ(State(*again, 1), L"ready");
    // "Do not ask again" holds: the next clean runs at once.
    Click(*again, IDC_BROWSERS_CLEAN);
    ASSERT_TRUE(WaitUntil([&] { return again->Finished(); }));
    EXPECT_EQ(answer.dialogs, 2);
    EXPECT_EQ(State(*again, 1), L"cleaned: History: 3 visits; Downloads: 1; Cookies: 2 (2 kept); Cache: 1 KB");
    for (TraceKind kind : kAllTraceKinds) {
        if (On(*again, kind)) Click(*again, IDC_BROWSERS_KIND_FIRST + static_cast<int>(kind));
    }
    EXPECT_FALSE(::IsWindowEnabled(again->GetItem(IDC_BROWSERS_CLEAN)));
    EXPECT_FALSE(::IsWindowEnabled(again->GetItem(IDC_BROWSERS_PREVIEW)));
    Click(*again, IDCANCEL);
}

TEST_F(BrowsersDialog, EscapeStopsAPreviewAndTheCleansPreviewWhichThenAsksNothingAndChangesNothing) {
    for (int job : {IDC_BROWSERS_PREVIEW, IDC_BROWSERS_CLEAN}) {
        AnswerWith(IDYES, false);
        answer.dialogs = 0;
        auto dialog = Open();
        auto before = Snapshot(folder.Path());
        Click(*dialog, job);
        ASSERT_TRUE(dialog->Running()) << job;
        EXPECT_FALSE(dialog->StopAsked()) << job;
        dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);  // Escape
        EXPECT_TRUE(dialog->StopAsked()) << job;
        EXPECT_TRUE(dialog->IsWindow()) << job << ": the profile in hand ends first";
        ASSERT_TRUE(WaitUntil([&] { return dialog->Finished(); })) << job;
        EXPECT_EQ(answer.dialogs, 0) << job;  // a clean asks only after a whole preview
        EXPECT_TRUE(Differences(before, Snapshot(folder.Path())).empty()) << job;
        EXPECT_TRUE(dialog->IsWindow()) << job;
        Click(*dialog, IDCANCEL);  // idle again: Escape closes it
        EXPECT_FALSE(dialog->IsWindow()) << job;
    }
}

ProfileReport Counted(long long visits, long long cookies, long long kept, ULONGLONG cache, bool inUse = false) {
    ProfileReport report;
    report.inUse = inUse;
    report.Of(TraceKind::History).rows = visits;
    report.Of(TraceKind::Cookies).rows = cookies;
    report.Of(TraceKind::Cookies).kept = kept;
    report.Of(TraceKind::Cache).bytes = cache;
    return report;
}

TEST(BrowsersDialogTexts, TheQuestionTellsWhatWouldGoFromTheProfilesACleanWouldReach) {
    CBriskoApp app;  // the texts are the built-in ones
    app.m_strLanguage = L"Default";
    TraceKinds kinds;
    for (TraceKind kind : {TraceKind::History, TraceKind::Cookies, TraceKind::Forms}) kinds.Set(kind, true);
    ProfileReport refused;
    refused.refused = Refusal::Outside;
    const struct {
        std::vector<ProfileReport> previews;
        TraceKinds kinds;
        const wchar_t* question;
    } cases[] = {
        {{Counted(1200, 100, 20, 0), Counted(500, 5, 8, 0), Counted(9, 9, 9, 0, true), refused}, kinds,
         L"Clean 1,700 visits, 105 cookies (28 kept) from 2 profiles? This cannot be undone."},
        {{Counted(0, 0, 0, 0)}, kinds, L"Clean 0 visits, 0 cookies (0 kept), 0 form entries from 1 profile? This cannot be undone."},
        {{Counted(3, 0, 0, 2048)}, TraceKinds::FromMask(0x3f),
         L"Clean 3 visits, cache (2 KB) from 1 profile? This cannot be undone."},
    };
    for (const auto& c : cases) EXPECT_EQ(CleanQuestion(c.previews, c.kinds), c.question);
    KindCount cookies{true, 3, 2, 0};
    EXPECT_EQ(CookiesTotalText(cookies, {}), L"Cookies: 3 (2 kept)");
    EXPECT_EQ(CookiesTotalText(cookies, {"nothing-here.example", "::1"}),
              L"Cookies: 3 (2 kept); kept sites with no cookie: nothing-here.example, ::1");
}

}  // namespace
