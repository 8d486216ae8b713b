#pragma once
// The application object of the thin framework: instance data, the message
// loop with accelerator translation, and the settings store.
#include <windows.h>
#include <string>

#include "win/Profile.h"
#include "win/Window.h"

namespace win {

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Start-up; false ends the program before its message loop.
    virtual bool InitInstance() { return true; }
    // End; the result is the process's exit code.
    virtual int ExitInstance() { return m_nExitCode; }
    // First look at every message of the loop; true when it is handled.
    virtual bool PreTranslateMessage(MSG& msg);

    // The message loop; returns ExitInstance's result.
    int Run();

    void SetRegistryKey(const std::wstring& key);
    const CProfile& Profile() const { return m_profile; }
    std::wstring GetProfileString(const std::wstring& section, const std::wstring& entry,
                                  const std::wstring& def) const {
        return m_profile.GetString(section, entry, def);
    }
    int GetProfileInt(const std::wstring& section, const std::wstring& entry, int def) const {
        return m_profile.GetInt(section, entry, def);
    }
    bool WriteProfileString(const std::wstring& section, const std::wstring& entry, const std::wstring& value) const {
        return m_profile.WriteString(section, entry, value);
    }
    bool WriteProfileInt(const std::wstring& section, const std::wstring& entry, int value) const {
        return m_profile.WriteInt(section, entry, value);
    }

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    std::wstring m_strAppName;   // the application title
    CWnd m_pMainWnd;             // the main window, once it exists
    HACCEL m_hAccelTable = nullptr;  // the main window's accelerators

protected:
    int m_nExitCode = 0;

private:
    CProfile m_profile;
};

CWinApp* AfxGetApp();

// What wWinMain does: initialise, run the loop or clean up after a failed start.
int AfxWinMain(CWinApp& app, HINSTANCE instance, int cmdShow);

}  // namespace win
