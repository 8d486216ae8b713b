// A link without an address finds one when pressed: the string resource of
// its control's id, else its text; and it shows the one hand cursor.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/RecordingOpener.h"
#include "win/StaticLink.h"

using testing_support::RecordingOpener;

namespace {

class StaticLinkTest : public testing::Test {
protected:
    ~StaticLinkTest() override { ::DestroyWindow(parent); }
    HWND MakeStatic(int id, const wchar_t* text) {
        return ::CreateWindowExW(0, L"Static", text, WS_CHILD | SS_NOTIFY, 0, 0, 100, 20, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    HWND parent = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
};

}  // namespace

TEST_F(StaticLinkTest, APressWithoutAnAddressOpensTheControlsStringResourceElseItsText) {
    const struct {
        int id;
        const wchar_t* text;
        std::vector<std::wstring> opened;
    } cases[] = {
        {IDS_HELP_PAGE, L"https://text.example/", {L"https://www.brisko.example/help/"}},
        {4321, L"https://text.example/", {L"https://text.example/"}},
        {4321, L"", {}},
    };
    for (const auto& c : cases) {
        RecordingOpener opener;
        win::CStaticLink link;
        ASSERT_TRUE(link.Subclass(MakeStatic(c.id, c.text)));
        ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(opener.opened, c.opened) << c.id;
        EXPECT_EQ(link.m_color, c.opened.empty() ? win::CStaticLink::kUnvisited : win::CStaticLink::kVisited);
        link.DestroyWindow();
    }
}

TEST_F(StaticLinkTest, EveryLinkShowsTheSameCopyOfTheHandCursor) {
    win::CStaticLink first, second;
    first.Subclass(MakeStatic(1, L"a"));
    second.Subclass(MakeStatic(2, L"b"));
    HCURSOR shown[2] = {};
    for (int i = 0; i < 2; ++i) {
        HWND link = i == 0 ? first.GetSafeHwnd() : second.GetSafeHwnd();
        EXPECT_EQ(::SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  TRUE);
        shown[i] = ::GetCursor();
    }
    EXPECT_NE(shown[0], nullptr);
    EXPECT_EQ(shown[0], shown[1]);
    EXPECT_NE(shown[0], ::LoadCursorW(nullptr, IDC_ARROW));
}
