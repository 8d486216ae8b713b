#pragma once
// Non-owning window wrapper and the base of every window class of the program.
#include <windows.h>
#include <string>

namespace win {

// A cheap, copyable view of an HWND; it never destroys the window.
class CWnd {
public:
    CWnd(HWND hwnd = nullptr) noexcept : m_hWnd(hwnd) {}
    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    operator HWND() const noexcept { return m_hWnd; }
    bool IsWindow() const noexcept { return m_hWnd && ::IsWindow(m_hWnd); }

    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendMessageW(m_hWnd, msg, wp, lp);
    }
    bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::PostMessageW(m_hWnd, msg, wp, lp) != FALSE;
    }
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    void EnableWindow(bool enable) const { ::EnableWindow(m_hWnd, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    void ShowWindow(int cmd) const { ::ShowWindow(m_hWnd, cmd); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    void MoveWindow(int x, int y, int cx, int cy, bool repaint = true) const {
        ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    RECT GetClientRect() const { RECT rc{}; ::GetClientRect(m_hWnd, &rc); return rc; }
    RECT GetWindowRect() const { RECT rc{}; ::GetWindowRect(m_hWnd, &rc); return rc; }
    LONG_PTR GetStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    LONG_PTR GetExStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
    void ModifyStyle(LONG_PTR remove, LONG_PTR add) const {
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (GetStyle() & ~remove) | add);
    }
    void ModifyStyleEx(LONG_PTR remove, LONG_PTR add) const {
        ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, (GetExStyle() & ~remove) | add);
    }
    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }
    void DestroyWindow() const { ::DestroyWindow(m_hWnd); }

protected:
    HWND m_hWnd;
};

// Base of the program's window classes. `this` is bound once, at WM_NCCREATE,
// and every message goes to the derived class's HandleMessage switch. No
// exception crosses the window procedure.
class CWindowBase : public CWnd {
public:
    CWindowBase() = default;
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;
    virtual ~CWindowBase();

    // Registers `className` once per process with this class's procedure.
    static bool RegisterClass(const wchar_t* className, HICON icon, HBRUSH background, UINT style = 0);
    HWND CreateEx(DWORD exStyle, const wchar_t* className, const std::wstring& title, DWORD style, int x,
                  int y, int cx, int cy, HWND parent, HMENU menuOrId);

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // Called after WM_NCDESTROY: the window is gone.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

// Base of windows that take over an existing control (the list view): the
// control's own procedure is kept and called for what the subclass leaves alone.
class CSubclassedWindow : public CWnd {
public:
    CSubclassedWindow() = default;
    CSubclassedWindow(const CSubclassedWindow&) = delete;
    CSubclassedWindow& operator=(const CSubclassedWindow&) = delete;
    virtual ~CSubclassedWindow();

    bool Subclass(HWND hwnd);
    void Unsubclass();

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    WNDPROC m_oldProc = nullptr;
};

}  // namespace win
