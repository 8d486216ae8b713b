#pragma once
// Base of the program's dialogs. `this` is bound once, at WM_INITDIALOG,
// and every message goes to the derived class's HandleMessage switch; no
// exception crosses the dialog procedure. A dialog runs modally in the
// program and modeless in tests, with the same handlers.
#include <windows.h>

#include "win/Window.h"

namespace win {

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : m_templateId(templateId) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog();

    // Runs the dialog until EndDialog; its result.
    INT_PTR DoModal(HWND parent);
    // Opens the dialog without a loop of its own.
    bool Create(HWND parent);
    // Ends a modal dialog with `result`, or destroys a modeless one.
    void EndDialog(INT_PTR result);
    INT_PTR Result() const { return m_result; }

    HWND GetItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

protected:
    // The dialog's own handling; FALSE leaves a message to the system.
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    UINT m_templateId;
    bool m_modal = false;
    INT_PTR m_result = IDCANCEL;
};

}  // namespace win
