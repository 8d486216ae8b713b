// The Advance dialog through its messages, opened modeless: its opening
// state, Clean's enabling, one run per opening, no way out while the worker
// runs, its own end with OK, its progress and its language texts.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/BriskoApp.h"
#include "view/AdvanceDialog.h"
#include "res/resource.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"

using namespace testing_support;

namespace {

struct RecordingList : IFoundItemSink {
    std::vector<std::wstring> paths;
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW&) override { paths.push_back(std::move(path)); }
};

class AdvanceDialog : public ::testing::Test {
protected:
    AdvanceDialog() {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&icc);
        app.m_strLanguage = L"Default";
        dialog.m_pDoc = &doc;
    }
    ~AdvanceDialog() override {
        ::SetEvent(go);
        ::CloseHandle(go);
    }
    bool On(int id) const { return ::SendMessageW(dialog.GetItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return ::IsWindowEnabled(dialog.GetItem(id)) != FALSE; }
    // The control's own visibility; the dialog itself is never shown here.
    bool Visible(int id) const { return (::GetWindowLongPtrW(dialog.GetItem(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    void Click(int id) {
        // A two-state button flips itself when clicked; the message then tells the dialog.
        HWND button = dialog.GetItem(id);
        if (::GetWindowLongPtrW(button, GWL_STYLE) & BS_PUSHLIKE)
            ::SendMessageW(button, BM_SETCHECK, On(id) ? BST_UNCHECKED : BST_CHECKED, 0);
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    bool WaitForClose() { return WaitUntil([&] { return !dialog.IsWindow(); }); }

    CBriskoApp app;
    ScratchFolder folder{L"advance"};
    FakeMachine machine;
    CBriskoDoc doc{machine};
    RecordingList list;
    CIETDlg dialog{list};
    HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

}  // namespace

TEST_F(AdvanceDialog, OpensWithUrlHistoryAndRecentDocumentsOnAndCleanFollowsTheOptions) {
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(dialog.GetWindowText(), L"Advance - Brisko .NET");
    EXPECT_EQ((std::vector<bool>{On(IDC_URL_HISTORY), On(IDC_AUTOCOMPLETE), On(IDC_RUN_HISTORY), On(IDC_FIND_HISTORY),
                                 On(IDC_TYPED_URL), On(IDC_RECENT_DOCUMENTS)}),
              (std::vector<bool>{true, false, false, false, false, true}));
    EXPECT_FALSE(Visible(IDC_ADVANCE_PROGRESS));
    EXPECT_EQ(dialog.m_nProgressTotal, 16 + static_cast<int>(doc.m_listRecentDocKeys.size()) + 3);
    EXPECT_TRUE(Enabled(IDC_CLEAN));
    Click(IDC_URL_HISTORY);
    Click(IDC_RECENT_DOCUMENTS);
    EXPECT_FALSE(Enabled(IDC_CLEAN));
    EXPECT_EQ(dialog.m_nProgressTotal, 1);
    Click(IDC_TYPED_URL);
    EXPECT_TRUE(Enabled(IDC_CLEAN));
    // Cancel closes it, and nothing ran.
    Click(IDC_ADVANCE_CANCEL);
    EXPECT_FALSE(dialog.IsWindow());
    EXPECT_EQ(dialog.Result(), IDCANCEL);
}

TEST_F(AdvanceDialog, CleanRunsOnceKeepsTheDialogOpenUntilTheWorkerEndsAndClosesWithOk) {
    int runs = 0;
    CHistoryOptions ran;
    dialog.m_runRoutines = [&](const CHistoryOptions& options, IFoundItemSink& to, IHistoryProgress& progress) {
        ++runs;
        ran = options;
        WIN32_FIND_DATAW find{};
        to.AddFoundItem(L"C:\\history.dat", find);
        progress.Advance(3);
        ::WaitForSingleObject(go, 20000);
    };
    ASSERT_TRUE(dialog.Create(nullptr));
    Click(IDC_CLEAN);
    EXPECT_TRUE(Visible(IDC_ADVANCE_PROGRESS));
    EXPECT_FALSE(Enabled(IDC_CLEAN));
    EXPECT_FALSE(Enabled(IDC_ADVANCE_CANCEL));
    Click(IDC_CLEAN);
    for (UINT close : {static_cast<UINT>(WM_CLOSE), static_cast<UINT>(WM_COMMAND)})
        dialog.SendMessage(close, close == WM_COMMAND ? IDCANCEL : 0, 0);  // Alt+F4 and Escape
    EXPECT_TRUE(dialog.IsWindow());
    ::SetEvent(go);
    ASSERT_TRUE(WaitForClose());
    EXPECT_EQ(dialog.Result(), IDOK);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(ran.urlHistory && ran.recentDocuments);
    EXPECT_FALSE(ran.autoComplete || ran.runHistory || ran.findHistory || ran.typedUrl);
    EXPECT_EQ(list.paths, (std::vector<std::wstring>{L"C:\\history.dat"}));
}

TEST_F(AdvanceDialog, EscapeAndAltF4AskTheRunningRoutinesToStopAndTheirEndClosesTheDialog) {
    struct Way {
        const char* name;
        UINT msg;
        WPARAM wp;
    };
    for (const Way& way : {Way{"Escape", WM_COMMAND, IDCANCEL}, Way{"Alt+F4", WM_CLOSE, 0}}) {
        HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        CIETDlg running{list};
        running.m_pDoc = &doc;
        running.m_runRoutines = [&](const CHistoryOptions&, IFoundItemSink&, IHistoryProgress&) {
            ::WaitForSingleObject(release, 20000);
        };
        ASSERT_TRUE(running.Create(nullptr));
        running.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CLEAN, BN_CLICKED), 0);
        EXPECT_FALSE(running.StopAsked()) << way.name;
        running.SendMessage(way.msg, way.wp, 0);
        EXPECT_TRUE(running.StopAsked()) << way.name;
        EXPECT_TRUE(running.IsWindow()) << way.name << ": the routine in hand ends first";
        ::SetEvent(release);
        EXPECT_TRUE(WaitUntil([&] { return !running.IsWindow(); })) << way.name;
        ::CloseHandle(release);
    }
}

TEST_F(AdvanceDialog, TheRealRoutinesWithTheDefaultOptionsBringTheProgressNearTheEnd) {
    dialog.m_runRoutines = [&](const CHistoryOptions& options, IFoundItemSink& to, IHistoryProgress& progress) {
        RunHistoryCleaning({doc, to, progress, L"Software\\BriskoTest\\Advance"}, options);
    };
    ASSERT_TRUE(dialog.Create(nullptr));
    Click(IDC_CLEAN);
    ASSERT_TRUE(WaitForClose());
    EXPECT_GE(dialog.ProgressPercent(), 90);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\BriskoTest");
}

TEST_F(AdvanceDialog, ALanguageFileNamesTheCaptionAndTheControlsItHasTextsFor) {
    std::wstring file = folder / L"it.lng";
    WriteTextFile(file, L"[Title]\r\n4=Avanzate\r\n[Labels]\r\n1=Password\r\n6=Cronologia\r\n[Buttons]\r\n2=Pulisci\r\n");
    app.m_ini.SetFileName(file);
    app.m_strLanguage = file;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(dialog.GetWindowText(), L"Avanzate - Brisko .NET");
    auto text = [&](int id) { return win::CWnd(dialog.GetItem(id)).GetWindowText(); };
    EXPECT_EQ(text(IDC_AUTOCOMPLETE), L"Password");
    EXPECT_EQ(text(IDC_URL_HISTORY), L"Cronologia");
    EXPECT_EQ(text(IDC_FIND_HISTORY), L"&Find History");
    EXPECT_EQ(text(IDC_CLEAN), L"Pulisci");
    EXPECT_EQ(text(IDC_ADVANCE_CANCEL), L"&Cancel");
    Click(IDC_ADVANCE_CANCEL);
}
