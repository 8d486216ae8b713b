#include "app/MainFrame.h"

#include <commctrl.h>

#include "app/BriskoApp.h"
#include "i18n/LanguageChoice.h"
#include "i18n/Lang.h"
#include "privacy/AdvanceDialog.h"
#include "res/resource.h"
#include "view/BriskoView.h"
#include "view/WorkerProtocol.h"

namespace {
constexpr const wchar_t* kLocationSection = L"Location";
}

CMainFrame::CMainFrame(CBriskoApp& app, CBriskoDoc& doc) : m_app(app), m_doc(doc) {}

CMainFrame::~CMainFrame() {
    if (m_hAccel) ::DestroyAcceleratorTable(m_hAccel);
}

bool CMainFrame::LoadFrame() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!RegisterClass(kClassName, icon, nullptr, CS_DBLCLKS)) return false;
    m_hMenu = ::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    m_hAccel = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    // The caption never shows a document name; the scan modes set it.
    HWND hwnd = CreateEx(0, kClassName, m_app.m_strAppName, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, m_hMenu);
    return hwnd != nullptr;
}

void CMainFrame::InitialUpdateFrame(int cmdShow) {
    if (m_pView) m_pView->OnInitialUpdate();
    ActivateFrame(cmdShow);
}

void CMainFrame::ActivateFrame(int cmdShow) {
    if (cmdShow == -1) {
        if (!IsWindowVisible()) cmdShow = SW_SHOWNORMAL;
        else if (::IsIconic(m_hWnd)) cmdShow = SW_RESTORE;
    }
    if (cmdShow != -1) ShowWindow(cmdShow);
    if (cmdShow != SW_HIDE) {
        ::BringWindowToTop(m_hWnd);
        ::SetForegroundWindow(m_hWnd);
    }
}

LRESULT CMainFrame::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // A second start reaches the frame itself only when a modal loop (the
    // Advance dialog's) runs in place of the program's own.
    if (msg == m_app.m_uInstanceMsg && msg != 0) {
        MSG message{m_hWnd, msg, wp, lp, 0, {}};
        m_app.OnOtherInstance(message);
        return 0;
    }
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        OnSize(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_SETFOCUS:
        if (m_pView && m_pView->IsWindow()) ::SetFocus(m_pView->GetSafeHwnd());
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wp));
        return 0;
    case WM_NOTIFY:
        if (m_pView && reinterpret_cast<NMHDR*>(lp)->hwndFrom == m_pView->GetSafeHwnd())
            return m_pView->OnNotify(*reinterpret_cast<NMHDR*>(lp));
        break;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    }
    return DefaultProc(msg, wp, lp);
}

int CMainFrame::OnCreate() {
    HWND status = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                    m_hWnd, reinterpret_cast<HMENU>(AFX_IDW_STATUS_BAR),
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (!status) return -1;
    m_wndStatusBar = win::CStatusBar(status);
    int parts[1] = {-1};  // one pane: the message pane
    m_wndStatusBar.SendMessage(SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    m_wndStatusBar.SetPaneText(0, LoadResPrefix(AFX_IDS_IDLEMESSAGE));
    m_app.m_pStatusBar = &m_wndStatusBar;

    m_pView = std::make_unique<CBriskoView>(m_app, m_doc);
    if (!m_pView->Create(m_hWnd)) return -1;
    // After every Offline Temp scan the Advance dialog opens over the view;
    // the history files it finds come into the view's list.
    HWND view = m_pView->GetSafeHwnd();
    m_pView->m_showAdvanceDialog = [view](CBriskoDoc& doc) {
        CListFromWorker list(view);
        CIETDlg dialog(list);
        dialog.m_pDoc = &doc;
        dialog.DoModal(view);
    };
    RecalcLayout();  // the view has its size before its initial update sets its columns

    ReadLanguageSetting();
    return 0;
}

void CMainFrame::ReadLanguageSetting() {
    m_app.m_szUserName = ReadUserName();
    m_app.m_strLanguage = m_app.GetProfileString(m_app.m_szUserName, L"src", kDefaultLanguage);
    if (m_app.m_strLanguage == kDefaultLanguage) m_app.m_strLanguage = ChooseDefaultLanguage(m_app.m_strLanguage);
    if (m_app.m_strLanguage != kDefaultLanguage) SetLanguage(m_app.m_strLanguage);
}

void CMainFrame::SetLanguage(const std::wstring& path) {
    m_app.m_ini.SetFileName(path);
    m_app.m_strLanguage = path;
}

void CMainFrame::OnSize(int cx, int cy) { RecalcLayout(); }

void CMainFrame::RecalcLayout() {
    RECT client = GetClientRect();
    int statusHeight = 0;
    if (m_wndStatusBar.IsWindow() && m_wndStatusBar.IsWindowVisible()) {
        m_wndStatusBar.SendMessage(WM_SIZE);
        RECT rc = m_wndStatusBar.GetWindowRect();
        statusHeight = rc.bottom - rc.top;
    }
    if (m_pView && m_pView->IsWindow())
        m_pView->MoveWindow(0, 0, client.right, client.bottom - statusHeight);
}

void CMainFrame::OnCommand(UINT id) {
    if (m_pView && m_pView->OnCommand(id)) return;
    switch (id) {
    case ID_APP_EXIT:
        PostMessage(WM_CLOSE);
        break;
    case ID_VIEW_STATUS_BAR:
        m_wndStatusBar.ShowWindow(m_wndStatusBar.IsWindowVisible() ? SW_HIDE : SW_SHOW);
        RecalcLayout();
        break;
    case ID_APP_ABOUT:
    case ID_HELP_ONLINE:
    case ID_HELP_UPDATE:
        m_app.OnHelpCommand(id);
        break;
    default:
        break;
    }
}

void CMainFrame::OnInitMenuPopup(HMENU menu) {
    win::EnableMenuItems(menu, [this](UINT id) { return m_pView ? m_pView->IsCommandEnabled(id) : true; });
    // Nothing happens to a popup without the item.
    ::CheckMenuItem(menu, ID_VIEW_STATUS_BAR,
                    MF_BYCOMMAND | (m_wndStatusBar.IsWindowVisible() ? MF_CHECKED : MF_UNCHECKED));
}

void CMainFrame::SavePlacement() {
    RECT rc = GetWindowRect();
    m_app.WriteProfileInt(kLocationSection, L"Top", rc.top);
    m_app.WriteProfileInt(kLocationSection, L"Left", rc.left);
    m_app.WriteProfileInt(kLocationSection, L"Width", rc.right - rc.left);
    m_app.WriteProfileInt(kLocationSection, L"Height", rc.bottom - rc.top);
}

void CMainFrame::OnDestroy() {
    SavePlacement();
    m_app.m_pStatusBar = nullptr;
    ::PostQuitMessage(0);
}
