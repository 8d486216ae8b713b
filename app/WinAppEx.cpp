#include "app/WinAppEx.h"

#include "win/CommandLine.h"

CWinAppEx::~CWinAppEx() { m_uInstanceMsg = 0; }

bool CWinAppEx::CheckSingleInstance(const std::wstring& instanceName) {
    if (instanceName.empty()) return true;
    m_uInstanceMsg = ::RegisterWindowMessageW(instanceName.c_str());
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, instanceName.c_str());
    DWORD lastError = ::GetLastError();
    if (!mutex) return true;  // no marker can be made: start as the only copy
    ::ReleaseMutex(mutex);
    m_instanceMutex.Reset(mutex);  // kept open until the process ends: it marks the running copy
    if (lastError != ERROR_ALREADY_EXISTS && lastError != ERROR_ACCESS_DENIED) return true;

    win::CCommandLineInfo info = win::ParseCommandLine(::GetCommandLineW());
    if (info.m_nShellCommand != win::CCommandLineInfo::FileNew &&
        info.m_nShellCommand != win::CCommandLineInfo::FileOpen)
        return true;  // printing, registration and the like run beside the first copy
    ATOM atom = 0;
    if (info.m_nShellCommand == win::CCommandLineInfo::FileOpen)
        atom = ::GlobalAddAtomW(info.m_strFileName.c_str());  // 0 for a name the table cannot hold
    NotifyOtherInstance(atom);
    return false;
}

bool CWinAppEx::NotifyOtherInstance(ATOM atom) {
    DWORD recipients = BSM_APPLICATIONS;
    bool ntFamily = (::GetVersion() & 0x80000000u) == 0;
    if (ntFamily && EnableTcbPrivilege()) recipients |= BSM_ALLDESKTOPS;
    long result = ::BroadcastSystemMessageW(BSF_IGNORECURRENTTASK | BSF_POSTMESSAGE | BSF_FORCEIFHUNG, &recipients,
                                            m_uInstanceMsg, atom, 0);
    return result != -1;
}

bool CWinAppEx::EnableTcbPrivilege() {
    win::KernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put())) return false;
    TOKEN_PRIVILEGES privileges{};
    if (!::LookupPrivilegeValueW(nullptr, L"SeTcbPrivilege", &privileges.Privileges[0].Luid)) return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // A partial assignment (ERROR_NOT_ALL_ASSIGNED) counts as failure.
    return ::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr) &&
           ::GetLastError() == ERROR_SUCCESS;
}

bool CWinAppEx::OnOtherInstance(const MSG& msg) {
    ATOM atom = static_cast<ATOM>(msg.wParam);
    std::wstring fileName;
    if (atom != 0) {
        wchar_t name[257] = {};
        UINT n = ::GlobalGetAtomNameW(atom, name, 256);
        if (n > 0) {
            fileName.assign(name, n);
            ::GlobalDeleteAtom(atom);
        }
    }
    if (!fileName.empty() && HasDocumentManager()) {
        HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        OpenDocumentFile(fileName);
        ::SetCursor(old);
        return true;
    }
    ActivateMainWindow();
    return true;
}

void CWinAppEx::ActivateMainWindow() {
    if (!m_pMainWnd.IsWindow()) return;
    HWND main = m_pMainWnd.GetSafeHwnd();
    HWND popup = ::GetLastActivePopup(main);
    ::BringWindowToTop(popup);
    if (!::IsWindowVisible(main)) ::ShowWindow(main, SW_SHOWNORMAL);
    else if (::IsIconic(main)) ::ShowWindow(main, SW_RESTORE);
    ::BringWindowToTop(popup);
    ::SetForegroundWindow(popup);
}

bool CWinAppEx::PreTranslateMessage(MSG& msg) {
    if (m_uInstanceMsg != 0 && msg.message == m_uInstanceMsg) return OnOtherInstance(msg);
    return win::CWinApp::PreTranslateMessage(msg);
}
