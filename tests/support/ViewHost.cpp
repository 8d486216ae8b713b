#include "support/ViewHost.h"

#include <commctrl.h>

#include "support/TestSupport.h"
#include "view/ListController.h"
#include "win/Handle.h"

namespace testing_support {

ViewHost::ViewHost() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    app.m_strLanguage = L"Default";
    m_frame = ::CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr, nullptr,
                                nullptr, nullptr);
    app.m_pMainWnd = win::CWnd(m_frame);
    m_bar = win::CStatusBar(::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_frame,
                                              nullptr, nullptr, nullptr));
    app.m_pStatusBar = &m_bar;
}

namespace {
WNDPROC g_staticProc = nullptr;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* view = reinterpret_cast<CBriskoView*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NOTIFY && view && reinterpret_cast<NMHDR*>(lp)->hwndFrom == view->GetSafeHwnd())
        return view->OnNotify(*reinterpret_cast<NMHDR*>(lp));
    return ::CallWindowProcW(g_staticProc, hwnd, msg, wp, lp);
}
}  // namespace

void ViewHost::ForwardNotifications(CBriskoView* view) {
    ::SetWindowLongPtrW(m_frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(m_frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameProc)));
    if (previous != &FrameProc) g_staticProc = previous;
}

std::wstring ViewHost::Title() const { return win::CWnd(m_frame).GetWindowText(); }

ViewHost::~ViewHost() {
    app.m_pStatusBar = nullptr;
    app.m_pMainWnd = win::CWnd();
    ::DestroyWindow(m_frame);
}

bool AddExistingItem(CBriskoView& view, const std::wstring& path) {
    WIN32_FIND_DATAW find{};
    win::FindHandle search(::FindFirstFileW(path.c_str(), &find));
    if (!search) return false;
    view.AddFoundItem(path, find);
    return true;
}

std::vector<std::wstring> ColumnTexts(const CBriskoView& view, int column) {
    std::vector<std::wstring> texts;
    for (int row = 0; row < view.List().GetItemCount(); ++row) texts.push_back(view.List().GetItemText(row, column));
    return texts;
}

std::vector<std::wstring> RowPaths(const CBriskoView& view) { return ColumnTexts(view, 0); }

bool RunModeToEnd(CListController& view, BYTE mode) {
    view.RunMode(mode);
    return WaitUntil([&view] { return !view.IsScanning(); });
}

}  // namespace testing_support
