#pragma once
// The application base that keeps one running copy per version: a named
// mutex marks the running copy, and a registered message that shares its
// name wakes it from a second start.
#include <windows.h>
#include <string>

#include "win/App.h"
#include "win/Handle.h"

class CWinAppEx : public win::CWinApp {
public:
    ~CWinAppEx() override;

    // True to go on with start-up; false when a running copy was notified
    // and this one must end.
    virtual bool CheckSingleInstance(const std::wstring& instanceName);
    // Runs in the running copy for each activation message; always true.
    virtual bool OnOtherInstance(const MSG& msg);

    bool NotifyOtherInstance(ATOM atom);
    static bool EnableTcbPrivilege();
    bool PreTranslateMessage(MSG& msg) override;

    UINT m_uInstanceMsg = 0;

protected:
    // The document manager of the single-document program.
    virtual bool HasDocumentManager() const = 0;
    virtual bool OpenDocumentFile(const std::wstring& path) = 0;

private:
    void ActivateMainWindow();
    win::KernelHandle m_instanceMutex;
};
