#include "app/MainFrame.h"

#include <commctrl.h>

#include <algorithm>

#include "app/FrameHost.h"
#include "app/FrameTexts.h"
#include "i18n/LanguageChoice.h"
#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "view/AdvanceDialog.h"
#include "res/resource.h"
#include "view/ListController.h"
#include "view/WorkerProtocol.h"
#include "win/Dpi.h"
#include "win/FileDialog.h"

namespace {
constexpr const wchar_t* kLocationSection = L"Location";
constexpr int kPopupCount = 5;

std::optional<std::wstring> AskLanguageFile(HWND owner) {
    return win::AskFileToOpen(owner, GetUiText(LangId::TitleSelectLanguage),
                              L"*.lng (" + GetUiText(LangId::LabelLanguageFiles) + L") |*.lng||", GetLangFolder(),
                              OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
}

void SetMenuText(HMENU menu, UINT item, bool byPosition, const std::wstring& text) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    ::SetMenuItemInfoW(menu, item, byPosition, &info);
}

// Every command item of `menu` and its submenus.
void ForEachMenuItem(HMENU menu, const std::function<void(UINT id)>& visit) {
    for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) ForEachMenuItem(sub, visit);
        else if (UINT id = ::GetMenuItemID(menu, i); id != 0 && id != static_cast<UINT>(-1)) visit(id);
    }
}
}  // namespace

CMainFrame::CMainFrame(IFrameHost& app, CBriskoDoc& doc) : m_app(app), m_doc(doc) {
    m_chooseLanguageFile = AskLanguageFile;
}

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
    HWND hwnd = CreateEx(0, kClassName, m_app.AppName(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, m_hMenu);
    return hwnd != nullptr;
}

void CMainFrame::InitialUpdateFrame(int cmdShow) {
    // The frame shows, placed, before the first scan: the scan runs while
    // the window answers and tells its progress in the title.
    if (m_pView) m_pView->OnInitialUpdate([this, cmdShow] { ActivateFrame(cmdShow); });
    else ActivateFrame(cmdShow);
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
    if (m_app.TakeActivation(MSG{m_hWnd, msg, wp, lp, 0, {}})) return 0;
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_SETFOCUS:
        // While a scan or a clean runs the list is disabled and the frame
        // keeps the keys, so that Escape reaches the accelerators.
        if (m_pView && m_pView->IsWindow() && m_pView->IsWindowEnabled()) ::SetFocus(m_pView->GetSafeHwnd());
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wp));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
        return 0;
    case WM_SETMESSAGESTRING:
        ShowPrompt(lp ? reinterpret_cast<const wchar_t*>(lp) : LoadResPrefix(static_cast<UINT>(wp)));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_NCACTIVATE:
        // The title bar stays active while the frame's own popups have the
        // focus; only a modal dialog, which disables the frame, dims it.
        return DefaultProc(msg, IsWindowEnabled() ? TRUE : FALSE, lp);
    case WM_DESTROY:
        OnDestroy();
        return 0;
    }
    return DefaultProc(msg, wp, lp);
}

int CMainFrame::OnCreate() {
    if (!CreateToolBar() || !CreateStatusBar() || !CreateView()) return -1;
    ApplyDpi(win::DpiForWindow(m_hWnd));
    RecalcLayout();  // the view has its size before its initial update sets its columns
    ReadLanguageSetting();
    UpdateToolBar(m_pView->Snapshot());
    return 0;
}

bool CMainFrame::CreateToolBar() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_wndToolBar = win::CToolBar::Create(m_hWnd, AFX_IDW_TOOLBAR);
    if (!m_wndToolBar.IsWindow() || !win::LoadToolBarLayout(instance, IDR_MAINFRAME, m_toolBarLayout) ||
        !m_wndToolBar.SetButtons(m_toolBarLayout))
        return false;
    // The toolbar sized its buttons for the resource's pictures: what it
    // added to them is the margin that scales with the display.
    DWORD button = static_cast<DWORD>(m_wndToolBar.SendMessage(TB_GETBUTTONSIZE));
    m_toolBarMargin = SIZE{LOWORD(button) - m_toolBarLayout.buttonWidth, HIWORD(button) - m_toolBarLayout.buttonHeight};
    return true;
}

bool CMainFrame::CreateStatusBar() {
    HWND status = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                    m_hWnd, reinterpret_cast<HMENU>(AFX_IDW_STATUS_BAR),
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (!status) return false;
    m_wndStatusBar = win::CStatusBar(status);
    int parts[1] = {-1};  // one pane: the message pane
    m_wndStatusBar.SendMessage(SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    m_wndStatusBar.SetPaneText(0, LoadResPrefix(AFX_IDS_IDLEMESSAGE));
    m_app.SetStatusBar(&m_wndStatusBar);
    return true;
}

bool CMainFrame::CreateView() {
    m_pView = std::make_unique<CListController>(m_app, m_doc);
    if (!m_pView->Create(m_hWnd)) return false;
    // After every Offline Temp scan the Advance dialog opens over the view;
    // the history files it finds come into the view's list.
    HWND view = m_pView->GetSafeHwnd();
    m_pView->m_showAdvanceDialog = [view](CBriskoDoc& doc) {
        CListFromWorker list(view);
        CIETDlg dialog(list);
        dialog.m_pDoc = &doc;
        dialog.DoModal(view);
    };
    m_pView->m_commandStateChanged = [this](const CommandState& state) { UpdateToolBar(state); };
    return true;
}

void CMainFrame::ReadLanguageSetting() {
    m_app.SetUserName(ReadUserName());
    std::wstring language = m_app.Profile().GetString(m_app.UserName(), L"src", kDefaultLanguage);
    if (language == kDefaultLanguage) language = ChooseDefaultLanguage(language);
    if (language != kDefaultLanguage) SetLanguage(language);
    else m_app.SetLanguageFile(language);
}

void CMainFrame::SetLanguage(const std::wstring& path) {
    m_app.SetLanguageFile(path);
    for (int i = 0; i < kPopupCount; ++i) SetMenuText(m_hMenu, i, true, PopupCaption(i));
    ForEachMenuItem(m_hMenu, [this](UINT id) {
        if (auto caption = ItemCaption(id)) SetMenuText(m_hMenu, id, false, *caption);
    });
    if (m_hWnd) ::DrawMenuBar(m_hWnd);
}

void CMainFrame::OnLanguage() {
    if (auto path = m_chooseLanguageFile(m_hWnd)) {
        SetLanguage(*path);
        if (m_pView) m_pView->PostMessage(WM_LANGCHANGED);
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CMainFrame::OnSize() {
    if (m_wndToolBar.IsWindow()) m_wndToolBar.AutoSize();
    RecalcLayout();
}

void CMainFrame::RecalcLayout() {
    RECT client = GetClientRect();
    int top = 0, bottom = static_cast<int>(client.bottom);
    if (m_wndToolBar.IsWindow() && m_wndToolBar.IsWindowVisible()) {
        RECT rc = m_wndToolBar.GetWindowRect();
        top = rc.bottom - rc.top;
    }
    if (m_wndStatusBar.IsWindow() && m_wndStatusBar.IsWindowVisible()) {
        m_wndStatusBar.SendMessage(WM_SIZE);
        win::FitStatusPanes(m_wndStatusBar);
        RECT rc = m_wndStatusBar.GetWindowRect();
        bottom -= rc.bottom - rc.top;
    }
    if (m_pView && m_pView->IsWindow()) m_pView->MoveWindow(0, top, client.right, std::max(0, bottom - top));
}

bool CMainFrame::IsCommandAvailable(UINT id) const { return m_pView && m_pView->IsCommandEnabled(id); }

void CMainFrame::OnCommand(UINT id) {
    // Menu, toolbar and keys all come here: a command that is greyed does nothing.
    if (!IsCommandAvailable(id)) return;
    if (m_pView->OnCommand(id)) return;
    switch (id) {
    case ID_APP_EXIT:
        PostMessage(WM_CLOSE);
        break;
    case ID_VIEW_TOOLBAR:
        ToggleBar(m_wndToolBar);
        break;
    case ID_VIEW_STATUS_BAR:
        ToggleBar(m_wndStatusBar);
        break;
    case ID_VIEW_LANGUAGE:
        OnLanguage();
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

void CMainFrame::ToggleBar(win::CWnd bar) {
    bar.ShowWindow(bar.IsWindowVisible() ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

void CMainFrame::OnInitMenuPopup(HMENU menu) {
    win::EnableMenuItems(menu, [this](UINT id) { return IsCommandAvailable(id); });
    // Nothing happens to a popup without the items.
    ::CheckMenuItem(menu, ID_VIEW_TOOLBAR, MF_BYCOMMAND | (m_wndToolBar.IsWindowVisible() ? MF_CHECKED : MF_UNCHECKED));
    ::CheckMenuItem(menu, ID_VIEW_STATUS_BAR,
                    MF_BYCOMMAND | (m_wndStatusBar.IsWindowVisible() ? MF_CHECKED : MF_UNCHECKED));
}

void CMainFrame::UpdateToolBar(const CommandState& state) {
    // Called for every change of the selection: the buttons are touched only
    // when one of them changes.
    unsigned enabled = 0;
    for (size_t i = 0; i < m_toolBarLayout.commands.size(); ++i)
        if (UINT id = m_toolBarLayout.commands[i]; id != 0 && ::IsCommandAvailable(id, state)) enabled |= 1u << i;
    if (enabled == m_enabledButtons) return;
    m_enabledButtons = enabled;
    for (size_t i = 0; i < m_toolBarLayout.commands.size(); ++i)
        if (UINT id = m_toolBarLayout.commands[i]; id != 0) m_wndToolBar.EnableButton(id, (enabled >> i) & 1u);
}

LRESULT CMainFrame::OnNotify(const NMHDR& header) {
    if (m_pView && header.hwndFrom == m_pView->GetSafeHwnd()) return m_pView->OnNotify(header);
    switch (header.code) {
    case TTN_GETDISPINFOW:
    case TTN_GETDISPINFOA:
        OnToolTipText(header);
        return TRUE;
    case TBN_HOTITEMCHANGE: {
        const auto& hot = reinterpret_cast<const NMTBHOTITEM&>(header);
        if (hot.dwFlags & HICF_LEAVING) RestoreStatusText();
        else ShowPrompt(ToolBarPrompt(hot.idNew));
        return 0;
    }
    }
    return 0;
}

void CMainFrame::OnToolTipText(const NMHDR& header) {
    // The text field holds 80 characters: at most 79 and the terminator.
    std::wstring text = ToolTipText(static_cast<UINT>(header.idFrom));
    if (header.code == TTN_GETDISPINFOA) {
        auto& info = const_cast<NMTTDISPINFOA&>(reinterpret_cast<const NMTTDISPINFOA&>(header));
        // The longest start of the text whose narrow form fits: a character
        // may take two bytes in the thread's code page.
        const int room = static_cast<int>(std::size(info.szText)) - 1;
        int bytes = 0;
        for (int n = std::min(static_cast<int>(text.size()), room); n > 0 && bytes == 0; --n)
            bytes = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), n, info.szText, room, nullptr, nullptr);
        info.szText[bytes] = '\0';
        info.lpszText = info.szText;
        info.hinst = nullptr;
    } else {
        auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        ::lstrcpynW(info.szText, text.c_str(), static_cast<int>(std::size(info.szText)));
        info.lpszText = info.szText;
        info.hinst = nullptr;
    }
}

void CMainFrame::OnMenuSelect(UINT id, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && menu == nullptr) return RestoreStatusText();  // the menu closed
    if (id == 0 || (flags & (MF_POPUP | MF_SEPARATOR))) return ShowPrompt(L"");
    std::wstring prompt = MenuPrompt(id);
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(prompt.c_str()));
}

void CMainFrame::ShowPrompt(const std::wstring& text) {
    if (!m_wndStatusBar.IsWindow()) return;
    if (!m_textBeforePrompt) m_textBeforePrompt = m_wndStatusBar.GetPaneText(0);
    m_wndStatusBar.SetPaneText(0, text, SBT_NOTABPARSING);
}

void CMainFrame::RestoreStatusText() {
    // Back to what the view showed before the first prompt: its selection
    // status, or the item a clean is removing.
    if (!m_textBeforePrompt) return;
    m_wndStatusBar.SetPaneText(0, *m_textBeforePrompt, SBT_NOTABPARSING);
    m_textBeforePrompt.reset();
}

void CMainFrame::SavePlacement() {
    RECT rc = GetWindowRect();
    m_app.Profile().WriteInt(kLocationSection, L"Top", rc.top);
    m_app.Profile().WriteInt(kLocationSection, L"Left", rc.left);
    m_app.Profile().WriteInt(kLocationSection, L"Width", rc.right - rc.left);
    m_app.Profile().WriteInt(kLocationSection, L"Height", rc.bottom - rc.top);
}

void CMainFrame::OnDestroy() {
    SavePlacement();
    m_app.SetStatusBar(nullptr);
    ::PostQuitMessage(0);
}
