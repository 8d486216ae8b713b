#pragma once
// Base of the program's dialogs. `this` is bound once, at WM_INITDIALOG, and
// the messages go to virtual handlers: OnInit, OnCommand (whose default
// sends OK and Cancel to OnOK and OnCancel, which close the dialog), and
// OnMessage for the rest. Alt+F4 and the close box are Cancel. A dialog
// moved to a display of another scale is laid out again at it. No exception
// crosses the dialog procedure. A dialog runs modally in the program and
// modeless in tests, with the same handlers.
#include <windows.h>

#include <string>

#include "win/Handle.h"
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
    // The scale the dialog is laid out for.
    UINT Dpi() const { return m_dpi; }

    // The dialog's controls.
    HWND GetItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetItemText(int id, const std::wstring& text) const;
    std::wstring ItemText(int id) const;
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked) const;
    void EnableItem(int id, bool enabled) const;
    void ShowItem(int id, bool shown) const;

protected:
    // WM_INITDIALOG; true lets the system put the focus on the first control.
    virtual bool OnInit() { return true; }
    // A command of a control, a menu or a key: true when handled. The
    // default gives OK to OnOK and Cancel to OnCancel.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // After the dialog was laid out again at `dpi`: what the dialog draws
    // at a scale of its own (pictures, column widths) follows.
    virtual void OnDpiChanged(UINT dpi) {}
    // Every other message; FALSE leaves it to the system.
    virtual INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return FALSE; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The window at `dpi`: its client area scaled from the last scale, the
    // frame measured at the new one, its corner where Windows suggests.
    void LayOutForDpi(UINT dpi, const RECT& suggested);

    UINT m_templateId;
    bool m_modal = false;
    INT_PTR m_result = IDCANCEL;
    UINT m_dpi = 96;
    GdiObject m_font;  // the controls' font at a scale the dialog moved to
};

}  // namespace win
