#include "app/BriskoApp.h"

#include <commctrl.h>

#include <cwchar>

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "catalog/BriskoDoc.h"
#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "res/resource.h"
#include "win/Handle.h"
#include "win/StaticLink.h"
#include "win/Text.h"

namespace {
// The document reads nothing from its file, but the file must be readable.
bool CanOpenForReading(const std::wstring& path) {
    win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsValid();
}

void ReportUnreadableDocument(HWND owner, const std::wstring& path) {
    std::wstring text = path + L"\nThis file cannot be opened.";
    ::MessageBoxW(owner, text.c_str(), win::LoadResString(AFX_IDS_APP_TITLE).c_str(), MB_OK | MB_ICONEXCLAMATION);
}
}  // namespace

std::wstring ComposeInstanceName() {
    return std::wstring(kInstanceNamePrefix) + kFileVersionText + kInstanceNameSuffix;
}

CBriskoApp::CBriskoApp() {
    BindLanguage(&m_ini, &m_strLanguage);
}

CBriskoApp::~CBriskoApp() {
    // The frame and the document go before the language binding they read.
    m_pFrame.reset();
    m_pDocument.reset();
    BindLanguage(nullptr, nullptr);
}

bool CBriskoApp::InitInstance() {
    const std::wstring instanceName = ComposeInstanceName();
    // A second copy leaves before it touches a window or the settings.
    if (!CheckSingleInstance(instanceName)) return false;

    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = 0xFF;
    ::InitCommonControlsEx(&icc);

    m_strAppName = win::LoadResString(AFX_IDS_APP_TITLE);
    if (m_strAppName.empty()) {
        wchar_t module[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, module, MAX_PATH);
        std::wstring name = module;
        name = name.substr(name.find_last_of(L"\\/") + 1);
        m_strAppName = name.substr(0, name.rfind(L'.'));
    }
    SetRegistryKey(kRegistryKeyName);

    win::CCommandLineInfo info = win::ParseCommandLine(::GetCommandLineW());
    if (!ProcessShellCommand(info)) return false;

    m_pMainWnd.ShowWindow(SW_SHOW);
    m_pMainWnd.UpdateWindow();
    return true;
}

int CBriskoApp::ExitInstance() {
    m_ini.Flush();
    return CWinAppEx::ExitInstance();
}

bool CBriskoApp::ProcessShellCommand(const win::CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case win::CCommandLineInfo::FileNew:
        return OpenDocumentFile({});
    case win::CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName);
    case win::CCommandLineInfo::FilePrint:
    case win::CCommandLineInfo::FilePrintTo:
        // A print start runs a whole copy hidden, asks its frame to print
        // and then ends: the program prints nothing.
        m_nCmdShow = SW_HIDE;
        if (OpenDocumentFile(info.m_strFileName)) m_pMainWnd.SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
        return false;
    case win::CCommandLineInfo::FileDDE:
    case win::CCommandLineInfo::FileNothing:
    case win::CCommandLineInfo::AppRegister:
    case win::CCommandLineInfo::AppUnregister:
        return false;  // the program offers no automation, DDE or registration
    }
    return false;
}

bool CBriskoApp::CreateDocumentAndFrame() {
    // The document comes first: its constructor builds the whole catalogue.
    m_pDocument = std::make_unique<CBriskoDoc>();
    m_pFrame = std::make_unique<CMainFrame>(*this, *m_pDocument);
    if (!m_pFrame->LoadFrame()) {
        DestroyDocumentAndFrame();
        return false;
    }
    m_pMainWnd = win::CWnd(m_pFrame->GetSafeHwnd());
    m_hAccelTable = m_pFrame->GetAccelerators();
    return true;
}

void CBriskoApp::DestroyDocumentAndFrame() {
    if (m_pFrame && m_pFrame->IsWindow()) m_pFrame->DestroyWindow();
    m_pFrame.reset();
    m_pDocument.reset();
    m_pMainWnd = win::CWnd();
    m_hAccelTable = nullptr;
}

bool CBriskoApp::OpenDocumentFile(const std::wstring& path) {
    if (!m_pDocument) {
        if (!CreateDocumentAndFrame()) return false;
        if (!path.empty() && !CanOpenForReading(path)) {
            ReportUnreadableDocument(nullptr, path);
            DestroyDocumentAndFrame();
            return false;
        }
        m_strDocumentPath = path;
        m_pFrame->InitialUpdateFrame(m_nCmdShow);
        return true;
    }
    // The one document is opened again from the file: the frame's initial
    // update runs again, unless that file already is the open document.
    if (!path.empty() && ::lstrcmpiW(path.c_str(), m_strDocumentPath.c_str()) == 0) {
        m_pFrame->ActivateFrame(-1);
        return true;
    }
    if (!path.empty() && !CanOpenForReading(path)) {
        ReportUnreadableDocument(m_pMainWnd.GetSafeHwnd(), path);
        return false;
    }
    m_strDocumentPath = path;
    m_pFrame->InitialUpdateFrame(-1);
    return true;
}

bool CBriskoApp::TakeActivation(const MSG& msg) {
    if (msg.message != m_uInstanceMsg || msg.message == 0) return false;
    OnOtherInstance(msg);
    return true;
}

void CBriskoApp::SetLanguageFile(const std::wstring& path) {
    m_strLanguage = path;
    if (path != kDefaultLanguage) m_ini.SetFileName(path);  // the built-in texts need no file
}

void CBriskoApp::OnHelpCommand(UINT id) {
    // A page the shell cannot open is not reported.
    switch (id) {
    case ID_APP_ABOUT:
        OnAppAbout();
        break;
    case ID_HELP_ONLINE:
        win::CHyperlink::OpenAddress(win::LoadResString(IDS_HELP_PAGE));
        break;
    case ID_HELP_UPDATE:
        win::CHyperlink::OpenAddress(UpdateAddress());
        break;
    }
}

void CBriskoApp::OnAppAbout() {
    CAboutDlg dialog;
    dialog.DoModal(m_pMainWnd.GetSafeHwnd());
}

std::wstring CBriskoApp::UpdateAddress() const {
    std::wstring base =
        IsDefaultLanguage() ? win::LoadResString(IDS_HOME_PAGE) : GetLangString(LangId::StatusUpdateAddress);
    wchar_t number[64] = {};
    ::swprintf(number, 64, L"%f", kVersionNumber);
    return base + number;
}
