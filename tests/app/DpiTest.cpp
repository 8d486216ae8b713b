// The window and the dialogs at 96, 144 and 192 DPI. Wine reads the display
// scale (LogPixels) when a process starts, so each scale is measured by a
// child run of this program; the 96-DPI child also takes a WM_DPICHANGED to
// 192, as a move to a monitor of another scale would send.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <utility>
#include <string>

#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "app/BriskoApp.h"
#include "app/MainFrame.h"
#include "app/ToolBarPictures.h"
#include "catalog/BriskoDoc.h"
#include "view/AdvanceDialog.h"
#include "support/ScopedRegistry.h"
#include "support/TestSupport.h"
#include "view/ListController.h"
#include "win/Dpi.h"

using namespace testing_support;

namespace {

constexpr const wchar_t* kProbeVariable = L"BRISKO_DPI_PROBE";
using Measures = std::map<std::string, int>;

struct NoList : IFoundItemSink {
    void AddFoundItem(std::wstring, const WIN32_FIND_DATAW&) override {}
};

int Height(HWND hwnd) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return rc.bottom - rc.top;
}

int FontHeight(HWND hwnd) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return std::abs(font.lfHeight);
}

int ImageSize(HIMAGELIST list) {
    int cx = 0, cy = 0;
    return list && ::ImageList_GetIconSize(list, &cx, &cy) && cx == cy ? cx : -1;
}

// The texts of a dialog's controls that do not fit their rectangles, drawn
// with the font the control has; a button's icon and edges take their room.
int CutTexts(HWND dialog, const char* name) {
    int cut = 0;
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        wchar_t text[256] = {}, kind[32] = {};
        ::GetWindowTextW(control, text, 256);
        ::GetClassNameW(control, kind, 32);
        LONG style = ::GetWindowLongW(control, GWL_STYLE);
        bool button = ::lstrcmpiW(kind, L"Button") == 0;
        bool picture = !button && ((style & SS_TYPEMASK) == SS_BITMAP || (style & SS_TYPEMASK) == SS_ICON);
        if (!text[0] || picture || (button && (style & BS_TYPEMASK) == BS_GROUPBOX)) continue;
        RECT room{};
        ::GetClientRect(control, &room);
        if (button) {
            int edge = win::SystemMetricForDpi(SM_CXEDGE, win::DpiForWindow(control));
            ::InflateRect(&room, -edge, -edge);
            if (HICON icon = reinterpret_cast<HICON>(::SendMessageW(control, BM_GETIMAGE, IMAGE_ICON, 0))) {
                ICONINFO info{};
                BITMAP bitmap{};
                if (::GetIconInfo(icon, &info)) {
                    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
                    if (info.hbmColor) ::DeleteObject(info.hbmColor);
                    ::DeleteObject(info.hbmMask);
                }
                room.right -= bitmap.bmWidth;
            }
        }
        HDC dc = ::GetDC(control);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, room.right - room.left, 0};
        UINT prefix = !button && (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        ::DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | prefix);
        ::SelectObject(dc, old);
        ::ReleaseDC(control, dc);
        if (needed.right > room.right - room.left || needed.bottom > room.bottom - room.top) {
            std::printf("%s: \"%ls\" needs %ldx%ld, has %ldx%ld\n", name, text, needed.right, needed.bottom,
                        room.right - room.left, room.bottom - room.top);
            ++cut;
        }
    }
    return cut;
}

void MeasureFrame(CMainFrame& frame, const std::string& prefix, Measures& out) {
    HWND toolBar = frame.ToolBar().GetSafeHwnd();
    win::CListCtrl list = frame.GetView()->List();
    out[prefix + "button height"] = HIWORD(::SendMessageW(toolBar, TB_GETBUTTONSIZE, 0, 0));
    out[prefix + "picture"] = ImageSize(reinterpret_cast<HIMAGELIST>(::SendMessageW(toolBar, TB_GETIMAGELIST, 0, 0)));
    out[prefix + "disabled picture"] =
        ImageSize(reinterpret_cast<HIMAGELIST>(::SendMessageW(toolBar, TB_GETDISABLEDIMAGELIST, 0, 0)));
    out[prefix + "row icon"] = ImageSize(reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL)));
    out[prefix + "list font"] = FontHeight(list.GetSafeHwnd());
    out[prefix + "status bar"] = Height(frame.StatusBar().GetSafeHwnd());
    RECT row{LVIR_BOUNDS};
    bool hasRow = list.SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)) != 0;
    out[prefix + "row height"] = hasRow ? row.bottom - row.top : -1;
    for (int i = 0; i < 4; ++i) out[prefix + "column " + std::to_string(i)] = list.GetColumnWidth(i);
}

Measures ReadMeasures(const std::wstring& path) {
    Measures measures;
    std::ifstream in(path.c_str());
    std::string line;
    while (std::getline(in, line)) {
        size_t equals = line.rfind('=');
        if (equals != std::string::npos) measures[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
    }
    return measures;
}

}  // namespace

// The child's part: skipped unless the parent test below started it.
TEST(DpiProbe, WritesTheMeasuresOfThisProcessDpi) {
    wchar_t out[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(kProbeVariable, out, MAX_PATH)) GTEST_SKIP() << "runs as the DPI test's child";
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CBriskoApp app;
    app.m_strLanguage = L"Default";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brisko");
    app.SetRegistryKey(kRegistryKeyName);
    // A window closed at this scale, small enough for the test display at 200 %.
    const UINT dpi = win::SystemDpi();
    for (auto [name, value] : {std::pair{L"Left", 0}, {L"Top", 0}, {L"Width", 600}, {L"Height", 400}})
        app.WriteProfileInt(L"Location", name, win::ScaleForDpi(value, dpi));
    CBriskoDoc doc;
    auto frame = std::make_unique<CMainFrame>(app, doc);
    ASSERT_TRUE(frame->LoadFrame());
    app.m_pMainWnd = win::CWnd(frame->GetSafeHwnd());
    // The columns take their widths from the list's size at the set-up,
    // which follows the window's default size: here the stored one.
    app.m_pMainWnd.MoveWindow(0, 0, win::ScaleForDpi(600, dpi), win::ScaleForDpi(400, dpi), true);
    frame->GetView()->m_showAdvanceDialog = [](CBriskoDoc&) {};
    frame->GetView()->OnInitialUpdate();
    ASSERT_TRUE(WaitUntil([&] { return !frame->GetView()->IsScanning(); }));
    WIN32_FIND_DATAW file{};
    frame->GetView()->InsertFoundRow(L"C:\\windows\\probe.log", file);

    Measures measures;
    measures["dpi"] = static_cast<int>(frame->Dpi());
    MeasureFrame(*frame, "", measures);
    CAboutDlg about;
    ASSERT_TRUE(about.Create(nullptr));
    measures["about cut texts"] = CutTexts(about.GetSafeHwnd(), "About");
    NoList noList;
    CIETDlg advance(noList);
    advance.m_pDoc = &doc;
    ASSERT_TRUE(advance.Create(nullptr));
    measures["advance cut texts"] = CutTexts(advance.GetSafeHwnd(), "Advance");
    measures["option icon"] = [&] {
        ICONINFO info{};
        BITMAP bitmap{};
        HWND option = advance.GetItem(IDC_URL_HISTORY);
        auto icon = reinterpret_cast<HICON>(::SendMessageW(option, BM_GETIMAGE, IMAGE_ICON, 0));
        if (!icon || !::GetIconInfo(icon, &info)) return -1;
        ::GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        return static_cast<int>(bitmap.bmWidth);
    }();
    if (frame->Dpi() == 96) {  // as on a move to a monitor at 200 %
        ::ShowWindow(frame->GetSafeHwnd(), SW_SHOWNOACTIVATE);
        RECT rc{};
        ::GetWindowRect(frame->GetSafeHwnd(), &rc);
        RECT suggested{rc.left, rc.top, rc.left + 2 * (rc.right - rc.left), rc.top + 2 * (rc.bottom - rc.top)};
        ::SendMessageW(frame->GetSafeHwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        MeasureFrame(*frame, "moved to 192: ", measures);
    }
    std::ofstream file_out(out);
    for (const auto& [name, value] : measures) file_out << name << '=' << value << '\n';
    ::DestroyWindow(frame->GetSafeHwnd());
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brisko");
}

TEST(Dpi, BarsListAndDialogsScaleWithTheDisplay) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ScratchFolder folder(L"dpi");
    std::map<UINT, Measures> at;
    for (DWORD dpi : {96u, 144u, 192u}) {
        ScopedRegistryValue logPixels(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                                      sizeof(dpi));
        std::wstring out = folder / (L"dpi" + std::to_wstring(dpi) + L".txt");
        ::SetEnvironmentVariableW(kProbeVariable, out.c_str());
        ChildProcess child;
        ASSERT_TRUE(child.Start(self, L"--gtest_filter=DpiProbe.*"));
        EXPECT_EQ(child.Wait(120000), 0);
        ::SetEnvironmentVariableW(kProbeVariable, nullptr);
        at[dpi] = ReadMeasures(out);
        ASSERT_EQ(at[dpi]["dpi"], static_cast<int>(dpi)) << "LogPixels did not reach the child";
    }
    std::printf("%-26s %6s %6s %6s %14s\n", "", "96", "144", "192", "96 moved to 192");
    for (const auto& [name, value] : at[96])
        if (name.rfind("moved", 0) != 0)
            std::printf("%-26s %6d %6d %6d %14d\n", name.c_str(), value, at[144][name], at[192][name],
                        at[96].count("moved to 192: " + name) ? at[96]["moved to 192: " + name] : 0);

    // What scales with the display, from its 96-DPI size. File Name takes
    // what the others leave of the window, whose size is the user's.
    const char* scaled[] = {"button height", "list font", "row height", "row icon",
                            "status bar",    "column 1",  "column 2",   "column 3"};
    const struct {
        UINT dpi;
        const Measures& measures;
        std::string prefix;
        int picture;
    } cases[] = {{144, at[144], "", 27}, {192, at[192], "", 36}, {192, at[96], "moved to 192: ", 36}};
    for (const auto& c : cases) {
        for (const char* name : scaled) {
            double expected = at[96][name] * c.dpi / 96.0;
            EXPECT_NEAR(c.measures.at(c.prefix + name), expected, 1.0) << c.prefix << name << " at " << c.dpi;
        }
        EXPECT_EQ(c.measures.at(c.prefix + "picture"), c.picture) << c.prefix << c.dpi;
        EXPECT_EQ(c.measures.at(c.prefix + "disabled picture"), c.picture) << c.prefix << c.dpi;
    }
    for (auto& [dpi, measures] : at) {
        EXPECT_EQ(measures["about cut texts"], 0) << dpi;
        EXPECT_EQ(measures["advance cut texts"], 0) << dpi;
        EXPECT_EQ(measures["option icon"], win::ScaleForDpi(32, dpi)) << dpi;
    }
    EXPECT_EQ(at[96]["picture"], 18);
}

TEST(Dpi, APlacementAppliedWhileHiddenKeepsItsPixelsAndAMovedWindowTakesTheSuggestedRectangle) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CBriskoApp app;
    app.m_strLanguage = L"Default";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brisko");
    app.SetRegistryKey(kRegistryKeyName);  // the frame stores its placement when it closes
    CBriskoDoc doc;
    CMainFrame frame(app, doc);
    ASSERT_TRUE(frame.LoadFrame());
    HWND hwnd = frame.GetSafeHwnd();
    ::MoveWindow(hwnd, 10, 20, 700, 500, FALSE);
    const RECT placed{10, 20, 710, 520}, suggested{10, 20, 1060, 770};  // 150 %
    for (bool visible : {false, true}) {
        if (visible) ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        RECT now{};
        ::GetWindowRect(hwnd, &now);
        const RECT& expected = visible ? suggested : placed;
        EXPECT_TRUE(::EqualRect(&now, &expected))
            << visible << ": " << now.right - now.left << "x" << now.bottom - now.top;
        EXPECT_EQ(frame.Dpi(), 144u);
    }
    ::DestroyWindow(hwnd);
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brisko");
}

TEST(Dpi, TheToolBarTakesThePicturesDrawnNearestToItsScale) {
    const std::pair<UINT, int> cases[] = {{96, 18}, {110, 18}, {120, 24}, {144, 27}, {168, 27},
                                          {192, 36}, {216, 36}, {240, 45}, {288, 45}};
    for (auto [dpi, size] : cases) EXPECT_EQ(ToolBarPicturesForDpi(dpi).size, size) << dpi;
}
