// A link pressed without an address opens the string resource of its
// control's id, else its text, else nothing.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/RecordingOpener.h"
#include "win/StaticLink.h"

TEST(StaticLink, APressWithoutAnAddressOpensTheControlsStringResourceElseItsText) {
    const struct {
        int id;
        const wchar_t* text;
        std::vector<std::wstring> opened;
    } cases[] = {
        {IDS_HELP_PAGE, L"https://text.example/", {L"https://www.brisko.example/help/"}},
        {4321, L"https://text.example/", {L"https://text.example/"}},
        {4321, L"", {}},
    };
    HWND parent = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    for (const auto& c : cases) {
        testing_support::RecordingOpener opener;
        win::CStaticLink link;
        ASSERT_TRUE(link.Subclass(::CreateWindowExW(0, L"Static", c.text, WS_CHILD | SS_NOTIFY, 0, 0, 100, 20, parent,
                                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), nullptr,
                                                    nullptr)));
        ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(opener.opened, c.opened) << c.id;
    }
    ::DestroyWindow(parent);
}
