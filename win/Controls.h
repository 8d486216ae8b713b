#pragma once
// Non-owning wrappers of the common controls the program uses.
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>

#include "win/Window.h"

namespace win {

class CListCtrl : public CWnd {
public:
    using CWnd::CWnd;
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetSelectedCount() const { return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    UINT GetItemState(int item, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, item, mask));
    }
    bool SetItemState(int item, UINT state, UINT mask) const;
    // Inserts a row with its column-0 text and image; returns the new index or -1.
    int InsertItem(int index, const std::wstring& text, int image) const;
    bool SetItemText(int item, int subItem, const std::wstring& text) const;
    std::wstring GetItemText(int item, int subItem) const;
    bool DeleteItem(int item) const { return SendMessage(LVM_DELETEITEM, item) != 0; }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    int InsertColumn(int index, const std::wstring& heading, int format, int width) const;
    bool SetColumnText(int index, const std::wstring& heading) const;
    int GetColumnWidth(int index) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, index)); }
    bool SetColumnWidth(int index, int width) const {
        return SendMessage(LVM_SETCOLUMNWIDTH, index, MAKELPARAM(width, 0)) != 0;
    }
    void SetImageList(HIMAGELIST list, int which) const { SendMessage(LVM_SETIMAGELIST, which, (LPARAM)list); }
    int GetNextItem(int start, UINT flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, flags)); }
    LPARAM GetItemData(int item) const;
    bool SetItemData(int item, LPARAM data) const;
    HWND GetHeader() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
};

class CHeaderCtrl : public CWnd {
public:
    using CWnd::CWnd;
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    int GetItemFormat(int item) const;
    bool SetItemFormat(int item, int format) const;
    bool SetItemText(int item, const std::wstring& text) const;
};

class CStatusBar : public CWnd {
public:
    using CWnd::CWnd;
    void SetPaneText(int pane, const std::wstring& text, UINT flags = 0) const {
        SendMessage(SB_SETTEXTW, static_cast<WPARAM>(pane) | flags, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::wstring GetPaneText(int pane) const;
};

// Sets the text of pane `pane` of a status bar of kStatusPanes panes; the
// panes after the first are as wide as their texts (none when empty), the
// first takes the rest. FitStatusPanes does the sharing again after a resize.
inline constexpr int kStatusPanes = 3;
void SetStatusPaneText(const CStatusBar& bar, int pane, const std::wstring& text);
void FitStatusPanes(const CStatusBar& bar);

// Shows the wait cursor unless it is showing: setting it again costs Wine's
// X11 driver a new X cursor (a read of the X resources, a round trip to the
// X server), which a busy window would pay several times a second.
void ShowWaitCursor();

// Enables or greys each command item of a popup menu, by position, as
// `isEnabled` says; separators and submenus are left as they are.
void EnableMenuItems(HMENU menu, const std::function<bool(UINT id)>& isEnabled);

}  // namespace win
