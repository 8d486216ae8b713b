#include "win/App.h"

#include "win/Log.h"

namespace win {

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() {
    g_app = this;
    m_hInstance = ::GetModuleHandleW(nullptr);
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

bool CWinApp::PreTranslateMessage(MSG& msg) {
    if (m_hAccelTable && m_pMainWnd.IsWindow() && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        HWND target = m_pMainWnd.GetSafeHwnd();
        // Accelerators work while the focus is anywhere inside the main window.
        if ((msg.hwnd == target || ::IsChild(target, msg.hwnd)) && ::TranslateAcceleratorW(target, m_hAccelTable, &msg))
            return true;
    }
    return false;
}

int CWinApp::Run() {
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslateMessage(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    m_nExitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

void CWinApp::SetRegistryKey(const std::wstring& key) {
    m_profile.SetRoot(key, m_strAppName);
}

int AfxWinMain(CWinApp& app, HINSTANCE instance, int cmdShow) {
    app.m_hInstance = instance;
    app.m_nCmdShow = cmdShow;
    bool started = false;
    try {
        started = app.InitInstance();
    } catch (...) {
        LogCaughtException(L"start-up");
        started = false;  // a string that cannot be allocated during start-up ends the program
    }
    if (!started) {
        if (app.m_pMainWnd.IsWindow()) app.m_pMainWnd.DestroyWindow();
        return app.ExitInstance();
    }
    return app.Run();
}

}  // namespace win
