#pragma once
// The application object: start-up, the one document, and the state that
// the other parts share.
#include <windows.h>
#include <memory>
#include <string>

#include "app/WinAppEx.h"
#include "app/FrameHost.h"
#include "i18n/Ini.h"
#include "res/resource.h"
#include "win/CommandLine.h"
#include "win/Controls.h"

class CBriskoDoc;
class CMainFrame;

// Names both the instance mutex and the activation message; copies of other
// versions use other names and do not see each other.
inline constexpr const wchar_t* kInstanceNamePrefix = L"{BRISKO .NET-";
inline constexpr const wchar_t* kFileVersionText = L"" BRISKO_VERSION_TEXT;
inline constexpr const wchar_t* kInstanceNameSuffix = L"-BY-QUILLON}";
std::wstring ComposeInstanceName();

inline constexpr const wchar_t* kRegistryKeyName = L"Brisko";

// The version Update sends as its query.
inline constexpr double kVersionNumber = 3.69;

class CBriskoApp : public CWinAppEx, public IFrameHost {
public:
    CBriskoApp();
    ~CBriskoApp() override;

    bool InitInstance() override;
    int ExitInstance() override;

    CBriskoDoc* GetDocument() const { return m_pDocument.get(); }
    CMainFrame* GetMainFrame() const { return m_pFrame.get(); }

    // What the frame asks of the program.
    std::wstring AppName() const override { return m_strAppName; }
    bool TakeActivation(const MSG& msg) override;
    void SetStatusBar(win::CStatusBar* bar) override { m_pStatusBar = bar; }
    void SetUserName(const std::wstring& name) override { m_szUserName = name; }
    void SetLanguageFile(const std::wstring& path) override;
    void OnHelpCommand(UINT id) override;

    // What the result list asks of the program.
    win::CWnd MainWindow() const override { return m_pMainWnd; }
    win::CStatusBar* StatusBar() const override { return m_pStatusBar; }
    const win::CProfile& Profile() const override { return CWinAppEx::Profile(); }
    std::wstring UserName() const override { return m_szUserName; }
    std::wstring Language() const override { return m_strLanguage; }
    bool TranslateProgramKeys(MSG& msg) override { return PreTranslateMessage(msg); }

    CIni m_ini;                      // the current language file; no name until one is applied
    std::wstring m_szUserName;       // the Windows user name, section of the language setting
    std::wstring m_strLanguage;      // "Default" or the path of the language file
    win::CStatusBar* m_pStatusBar = nullptr;

protected:
    bool HasDocumentManager() const override { return true; }
    bool OpenDocumentFile(const std::wstring& path) override;

private:
    bool ProcessShellCommand(const win::CCommandLineInfo& info);
    bool CreateDocumentAndFrame();
    void DestroyDocumentAndFrame();
    void OnAppAbout();
    // The update page's address: the base address, then the version number.
    std::wstring UpdateAddress() const;

    std::unique_ptr<CBriskoDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::wstring m_strDocumentPath;
};
