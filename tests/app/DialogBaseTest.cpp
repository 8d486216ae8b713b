// The dialogs' common base through its messages, opened modeless: how each
// way of closing ends a dialog, the question before a permanent clean, and
// the layout at another display scale.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "app/BriskoApp.h"
#include "res/resource.h"
#include "view/ConfirmDelete.h"
#include "win/Dialog.h"

namespace {

// The About template with nothing of its own: only the base handles it.
class PlainDialog : public win::CDialog {
public:
    PlainDialog() : win::CDialog(IDD_ABOUTBOX) {}
    std::vector<UINT> scales;  // told to OnDpiChanged

protected:
    void OnDpiChanged(UINT dpi) override { scales.push_back(dpi); }
};

struct Closing {
    const char* name;
    UINT msg;
    WPARAM wp;
};
constexpr Closing kClosings[] = {
    {"OK", WM_COMMAND, IDOK},
    {"Cancel (Escape)", WM_COMMAND, IDCANCEL},
    {"Alt+F4", WM_CLOSE, 0},
};

RECT ChildPlace(HWND dialog, int id) {
    RECT place{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &place);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

LONG FontHeight(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return std::labs(font.lfHeight);
}

}  // namespace

TEST(DialogBase, OkCancelAndAltF4CloseADialogWithNoHandlersOfItsOwn) {
    CBriskoApp app;
    app.m_strLanguage = L"Default";
    const INT_PTR expected[] = {IDOK, IDCANCEL, IDCANCEL};
    for (size_t i = 0; i < std::size(kClosings); ++i) {
        SCOPED_TRACE(kClosings[i].name);
        PlainDialog dialog;
        ASSERT_TRUE(dialog.Create(nullptr));
        dialog.SendMessage(kClosings[i].msg, kClosings[i].wp, 0);
        EXPECT_FALSE(dialog.IsWindow());
        EXPECT_EQ(dialog.Result(), expected[i]);
    }
}

TEST(DialogBase, TheQuestionBeforeAPermanentCleanIsNoUnlessYesAndAlwaysKeepsTheTick) {
    CBriskoApp app;
    app.m_strLanguage = L"Default";
    const struct {
        const char* name;
        UINT msg;
        WPARAM wp;
        INT_PTR answer;
    } cases[] = {
        {"Yes", WM_COMMAND, IDYES, IDYES},
        {"No", WM_COMMAND, IDNO, IDNO},
        {"Escape", WM_COMMAND, IDCANCEL, IDNO},
        {"Alt+F4", WM_CLOSE, 0, IDNO},
    };
    for (const auto& c : cases) {
        for (bool ticked : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (ticked ? ", ticked" : ""));
            CConfirmDeleteDlg dialog(L"Delete?");
            ASSERT_TRUE(dialog.Create(nullptr));
            ::SendMessageW(dialog.GetItem(IDC_CONFIRM_NOASK), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
            dialog.SendMessage(c.msg, c.wp, 0);
            EXPECT_FALSE(dialog.IsWindow());
            EXPECT_EQ(dialog.Result(), c.answer);
            EXPECT_EQ(dialog.DoNotAskAgain(), ticked);
        }
    }
}

TEST(DialogBase, AMoveToADisplayOfTwiceTheScaleDoublesTheLayoutAndTheFontAndBackAgain) {
    CBriskoApp app;
    app.m_strLanguage = L"Default";
    PlainDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const UINT dpi = dialog.Dpi();
    const RECT client = dialog.GetClientRect();
    const RECT button = ChildPlace(dialog.GetSafeHwnd(), IDOK);
    const LONG font = FontHeight(dialog.GetItem(IDOK));
    ASSERT_GT(font, 0);

    RECT suggested{40, 30, 400, 500};
    dialog.SendMessage(WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(dialog.Dpi(), dpi * 2);
    EXPECT_EQ(dialog.scales, std::vector<UINT>{dpi * 2});
    const RECT wide = dialog.GetClientRect();
    EXPECT_NEAR(wide.right, client.right * 2, 2);
    EXPECT_NEAR(wide.bottom, client.bottom * 2, 2);
    const RECT moved = ChildPlace(dialog.GetSafeHwnd(), IDOK);
    EXPECT_NEAR(moved.left, button.left * 2, 2);
    EXPECT_NEAR(moved.top, button.top * 2, 2);
    EXPECT_NEAR(moved.right - moved.left, (button.right - button.left) * 2, 2);
    EXPECT_NEAR(FontHeight(dialog.GetItem(IDOK)), font * 2, 1);
    RECT window{};
    ::GetWindowRect(dialog.GetSafeHwnd(), &window);
    EXPECT_EQ(window.left, suggested.left);
    EXPECT_EQ(window.top, suggested.top);

    dialog.SendMessage(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    const RECT back = dialog.GetClientRect();
    EXPECT_NEAR(back.right, client.right, 2);
    EXPECT_NEAR(back.bottom, client.bottom, 2);
    EXPECT_NEAR(FontHeight(dialog.GetItem(IDOK)), font, 1);
    EXPECT_EQ(dialog.scales, (std::vector<UINT>{dpi * 2, dpi}));
}
