#include "view/BriskoView.h"

#include "app/BriskoApp.h"
#include "catalog/BriskoDoc.h"
#include "i18n/Lang.h"
#include "res/resource.h"
#include "view/Placement.h"

CBriskoView::CBriskoView(CBriskoApp& app, CBriskoDoc& doc) : m_app(app), m_doc(doc) {}

CBriskoView::~CBriskoView() {
    if (m_app.m_pListView == this) m_app.m_pListView = nullptr;
}

bool CBriskoView::Create(HWND parent) {
    // The border of a view is drawn as a sunken client edge.
    HWND hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(AFX_IDW_PANE_FIRST), ::GetModuleHandleW(nullptr), nullptr);
    return hwnd && Subclass(hwnd);
}

void CBriskoView::OnInitialUpdate() {
    m_app.m_pListView = this;
    SetUpList();
    ApplyStoredPlacement();
}

void CBriskoView::SetUpList() {
    ModifyStyle(LVS_TYPEMASK, LVS_REPORT);
}

void CBriskoView::ApplyStoredPlacement() {
    const wchar_t* section = L"Location";
    RECT rc = ChooseWindowPlacement(m_app.GetProfileInt(section, L"Top", 0), m_app.GetProfileInt(section, L"Left", 0),
                                    m_app.GetProfileInt(section, L"Width", 0),
                                    m_app.GetProfileInt(section, L"Height", 0));
    m_app.m_pMainWnd.MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, true);
}

void CBriskoView::AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) {}

CommandState CBriskoView::Snapshot() const {
    CommandState state;
    win::CListCtrl list = List();
    state.rows = list.GetItemCount();
    state.selected = list.GetSelectedCount();
    state.busy = m_bBusy;
    state.cookiesAvailable = m_bCookiesAvailable;
    return state;
}

bool CBriskoView::IsCommandEnabled(UINT id) const { return IsCommandAvailable(id, Snapshot()); }

bool CBriskoView::OnCommand(UINT id) {
    if (!IsCommandEnabled(id)) return true;  // an unavailable command does nothing, whatever sent it
    switch (id) {
    default:
        return false;
    }
}

LRESULT CBriskoView::OnNotify(const NMHDR& header) { return 0; }

LRESULT CBriskoView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DESTROY:
        OnDestroy();
        break;
    }
    return DefaultProc(msg, wp, lp);
}

void CBriskoView::OnDestroy() {
    // The language setting is kept per Windows user.
    m_app.WriteProfileString(m_app.m_szUserName, L"src", m_app.m_strLanguage);
}
