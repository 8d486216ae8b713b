// A window's rectangle for a client rectangle at a display scale: at the
// system's own scale what the plain call gives, at a larger one a frame no
// thinner on any side, around the same client rectangle.
#include <gtest/gtest.h>

#include "win/Dpi.h"

TEST(WindowRectForDpi, MatchesThePlainCallAtTheSystemScaleAndNeverThinsTheFrameAbove) {
    const DWORD styles[][2] = {
        {WS_OVERLAPPEDWINDOW, 0},
        {DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME},
        {WS_POPUP | WS_BORDER, 0},
        {WS_CHILD, WS_EX_CLIENTEDGE},
    };
    const UINT system = win::SystemDpi();
    for (const auto& style : styles) {
        SCOPED_TRACE(style[0]);
        const RECT client{100, 50, 500, 350};
        RECT plain = client, here = client, twice = client;
        ASSERT_TRUE(::AdjustWindowRectEx(&plain, style[0], FALSE, style[1]));
        ASSERT_TRUE(win::AdjustWindowRectForDpi(here, style[0], style[1], system));
        EXPECT_EQ(here.left, plain.left);
        EXPECT_EQ(here.top, plain.top);
        EXPECT_EQ(here.right, plain.right);
        EXPECT_EQ(here.bottom, plain.bottom);
        ASSERT_TRUE(win::AdjustWindowRectForDpi(twice, style[0], style[1], system * 2));
        EXPECT_LE(twice.left, here.left);
        EXPECT_LE(twice.top, here.top);
        EXPECT_GE(twice.right, here.right);
        EXPECT_GE(twice.bottom, here.bottom);
    }
}
