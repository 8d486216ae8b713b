#include "win/Controls.h"

#include <algorithm>
#include <vector>

namespace win {

bool CListCtrl::SetItemState(int item, UINT state, UINT mask) const {
    LVITEMW lvi{};
    lvi.state = state;
    lvi.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lvi)) != 0;
}

int CListCtrl::InsertItem(int index, const std::wstring& text, int image) const {
    LVITEMW lvi{};
    lvi.mask = LVIF_TEXT | LVIF_IMAGE;
    lvi.iItem = index;
    lvi.pszText = const_cast<wchar_t*>(text.c_str());
    lvi.iImage = image;
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lvi)));
}

bool CListCtrl::SetItemText(int item, int subItem, const std::wstring& text) const {
    LVITEMW lvi{};
    lvi.iSubItem = subItem;
    lvi.pszText = const_cast<wchar_t*>(text.c_str());
    return SendMessage(LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lvi)) != 0;
}

std::wstring CListCtrl::GetItemText(int item, int subItem) const {
    // The control copies at most the buffer size; grow until the text fits.
    for (int size = 512;; size *= 2) {
        std::vector<wchar_t> buffer(size);
        LVITEMW lvi{};
        lvi.iSubItem = subItem;
        lvi.pszText = buffer.data();
        lvi.cchTextMax = size;
        int n = static_cast<int>(SendMessage(LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lvi)));
        if (n < size - 1 || size >= (1 << 20)) return std::wstring(buffer.data(), n);
    }
}

int CListCtrl::InsertColumn(int index, const std::wstring& heading, int format, int width) const {
    LVCOLUMNW col{};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = format;
    col.cx = width;
    col.pszText = const_cast<wchar_t*>(heading.c_str());
    col.iSubItem = index;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&col)));
}

bool CListCtrl::SetColumnText(int index, const std::wstring& heading) const {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = const_cast<wchar_t*>(heading.c_str());
    return SendMessage(LVM_SETCOLUMNW, index, reinterpret_cast<LPARAM>(&col)) != 0;
}

LPARAM CListCtrl::GetItemData(int item) const {
    LVITEMW lvi{};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lvi));
    return lvi.lParam;
}

bool CListCtrl::SetItemData(int item, LPARAM data) const {
    LVITEMW lvi{};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    lvi.lParam = data;
    return SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&lvi)) != 0;
}

int CHeaderCtrl::GetItemFormat(int item) const {
    HDITEMW hdi{};
    hdi.mask = HDI_FORMAT;
    SendMessage(HDM_GETITEMW, item, reinterpret_cast<LPARAM>(&hdi));
    return hdi.fmt;
}

bool CHeaderCtrl::SetItemFormat(int item, int format) const {
    HDITEMW hdi{};
    hdi.mask = HDI_FORMAT;
    hdi.fmt = format;
    return SendMessage(HDM_SETITEMW, item, reinterpret_cast<LPARAM>(&hdi)) != 0;
}

bool CHeaderCtrl::SetItemText(int item, const std::wstring& text) const {
    HDITEMW hdi{};
    hdi.mask = HDI_TEXT;
    hdi.pszText = const_cast<wchar_t*>(text.c_str());
    return SendMessage(HDM_SETITEMW, item, reinterpret_cast<LPARAM>(&hdi)) != 0;
}

std::wstring CStatusBar::GetPaneText(int pane) const {
    int n = LOWORD(SendMessage(SB_GETTEXTLENGTHW, pane));
    std::vector<wchar_t> buffer(n + 1);
    SendMessage(SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data());
}

namespace {
int TextWidth(HWND window, const std::wstring& text) {
    if (text.empty()) return 0;
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return size.cx + 16;  // the pane's own borders and a little air
}
}  // namespace

void FitStatusPanes(const CStatusBar& bar) {
    if (!bar.IsWindow()) return;
    int widths[kStatusPanes] = {};
    int rest = bar.GetClientRect().right;
    const int panes = static_cast<int>(bar.SendMessage(SB_GETPARTS, 0, 0));
    for (int pane = 1; pane < kStatusPanes; ++pane) {
        widths[pane] = pane < panes ? TextWidth(bar.GetSafeHwnd(), bar.GetPaneText(pane)) : 0;
        rest -= widths[pane];
    }
    int edges[kStatusPanes] = {};
    edges[0] = std::max(rest, 60);
    for (int pane = 1; pane < kStatusPanes; ++pane) edges[pane] = edges[pane - 1] + widths[pane];
    edges[kStatusPanes - 1] = -1;
    bar.SendMessage(SB_SETPARTS, kStatusPanes, reinterpret_cast<LPARAM>(edges));
}

void ShowWaitCursor() {
    HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
    if (::GetCursor() != wait) ::SetCursor(wait);
}

void SetStatusPaneText(const CStatusBar& bar, int pane, const std::wstring& text) {
    if (!bar.IsWindow()) return;
    const bool parted = bar.SendMessage(SB_GETPARTS, 0, 0) >= kStatusPanes;
    if (parted && bar.GetPaneText(pane) == text) return;
    if (!parted) {
        int edges[kStatusPanes] = {};
        for (int& edge : edges) edge = -1;
        bar.SendMessage(SB_SETPARTS, kStatusPanes, reinterpret_cast<LPARAM>(edges));
    }
    bar.SetPaneText(pane, text, SBT_NOTABPARSING);
    FitStatusPanes(bar);
}

void EnableMenuItems(HMENU menu, const std::function<bool(UINT id)>& isEnabled) {
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
        ::EnableMenuItem(menu, i, MF_BYPOSITION | (isEnabled(id) ? MF_ENABLED : MF_GRAYED));
    }
}

}  // namespace win
