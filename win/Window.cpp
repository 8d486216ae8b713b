#include "win/Window.h"

#include <vector>

#include "win/Log.h"

namespace win {

std::wstring CWnd::GetWindowText() const {
    int n = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(n + 1);
    n = ::GetWindowTextW(m_hWnd, buffer.data(), n + 1);
    return std::wstring(buffer.data(), n);
}

CWindowBase::~CWindowBase() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hWnd);
    }
}

bool CWindowBase::RegisterClass(const wchar_t* className, HICON icon, HBRUSH background, UINT style) {
    WNDCLASSEXW wc{};
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &wc)) return true;
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &CWindowBase::StaticWndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0;
}

HWND CWindowBase::CreateEx(DWORD exStyle, const wchar_t* className, const std::wstring& title, DWORD style,
                           int x, int y, int cx, int cy, HWND parent, HMENU menuOrId) {
    return ::CreateWindowExW(exStyle, className, title.c_str(), style, x, y, cx, cy, parent, menuOrId,
                             ::GetModuleHandleW(nullptr), this);
}

LRESULT CWindowBase::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

LRESULT CALLBACK CWindowBase::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CWindowBase* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        self = static_cast<CWindowBase*>(cs->lpCreateParams);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CWindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wp, lp);
    } catch (...) {
        LogCaughtException(L"window procedure");
        result = ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnFinalMessage();
    }
    return result;
}

CSubclassedWindow::~CSubclassedWindow() { Unsubclass(); }

bool CSubclassedWindow::Subclass(HWND hwnd) {
    m_hWnd = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_oldProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSubclassedWindow::StaticWndProc)));
    return m_oldProc != nullptr;
}

void CSubclassedWindow::Unsubclass() {
    if (m_hWnd && m_oldProc && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    }
    m_oldProc = nullptr;
}

LRESULT CSubclassedWindow::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return ::CallWindowProcW(m_oldProc, m_hWnd, msg, wp, lp);
}

LRESULT CALLBACK CSubclassedWindow::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<CSubclassedWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->m_oldProc) return ::DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wp, lp);
    } catch (...) {
        LogCaughtException(L"control procedure");
        result = self->DefaultProc(msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
        WNDPROC old = self->m_oldProc;
        self->m_oldProc = nullptr;
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnFinalMessage();
    }
    return result;
}

}  // namespace win
