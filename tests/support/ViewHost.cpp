#include "support/ViewHost.h"

#include <commctrl.h>

#include "view/BriskoView.h"
#include "win/Handle.h"

namespace testing_support {

ViewHost::ViewHost() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    app.m_strLanguage = L"Default";
    m_frame = ::CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr, nullptr,
                                nullptr, nullptr);
    app.m_pMainWnd = win::CWnd(m_frame);
}

ViewHost::~ViewHost() {
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

}  // namespace testing_support
