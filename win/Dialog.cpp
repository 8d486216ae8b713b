#include "win/Dialog.h"

#include "win/Dpi.h"
#include "win/Handle.h"
#include "win/Log.h"

namespace win {

CDialog::~CDialog() {
    if (!m_modal && IsWindow()) ::DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal(HWND parent) {
    m_modal = true;
    m_result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), parent, &DialogProc,
                                 reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return m_result;
}

bool CDialog::Create(HWND parent) {
    m_modal = false;
    return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), parent, &DialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    m_result = result;
    if (m_modal) ::EndDialog(m_hWnd, result);
    else ::DestroyWindow(m_hWnd);
}

void CDialog::SetItemText(int id, const std::wstring& text) const { ::SetDlgItemTextW(m_hWnd, id, text.c_str()); }

std::wstring CDialog::ItemText(int id) const { return CWnd(GetItem(id)).GetWindowText(); }

bool CDialog::IsChecked(int id) const { return ::SendMessageW(GetItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CDialog::SetChecked(int id, bool checked) const {
    ::SendMessageW(GetItem(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CDialog::EnableItem(int id, bool enabled) const { ::EnableWindow(GetItem(id), enabled); }

void CDialog::ShowItem(int id, bool shown) const { ::ShowWindow(GetItem(id), shown ? SW_SHOW : SW_HIDE); }

bool CDialog::OnCommand(UINT id, UINT, HWND) {
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    }
    return false;
}

INT_PTR CDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        m_dpi = DpiForWindow(m_hWnd);
        return OnInit() ? TRUE : FALSE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_CLOSE:
        // Alt+F4 and the close box are Cancel, whether or not the dialog has a Cancel button.
        OnCommand(IDCANCEL, BN_CLICKED, nullptr);
        return TRUE;
    case WM_DPICHANGED:
        LayOutForDpi(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return TRUE;
    }
    return OnMessage(msg, wp, lp);
}

void CDialog::LayOutForDpi(UINT dpi, const RECT& suggested) {
    const UINT from = m_dpi;
    m_dpi = dpi;
    if (dpi == 0 || from == dpi) return;
    auto scale = [from, dpi](int value) { return RescaleForDpi(value, from, dpi); };
    // The controls keep their places and sizes in proportion, in the font
    // of the dialog at the new scale.
    // The dialog's own font stays the dialog manager's to free.
    HFONT current = m_font ? static_cast<HFONT>(m_font.Get())
                           : reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    GdiObject font;
    LOGFONTW logFont{};
    if (current && ::GetObjectW(current, sizeof(logFont), &logFont)) {
        logFont.lfHeight = scale(logFont.lfHeight);
        font = GdiObject(::CreateFontIndirectW(&logFont));
    }
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        ::GetWindowRect(child, &place);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
        ::MoveWindow(child, scale(place.left), scale(place.top), scale(place.right - place.left),
                     scale(place.bottom - place.top), FALSE);
        if (font && reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)) == current)
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    }
    if (font) m_font = std::move(font);  // the last one goes once no control uses it
    RECT client = GetClientRect();
    RECT frame{0, 0, scale(client.right), scale(client.bottom)};
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)),
                           static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)), dpi);
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    // Where the system draws the frame at another scale than it says (Wine
    // keeps the system's), the client area is what counts: the window grows
    // or shrinks by what it lacks.
    RECT now = GetClientRect();
    const int wider = scale(client.right) - now.right, taller = scale(client.bottom) - now.bottom;
    if (wider != 0 || taller != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left + wider, frame.bottom - frame.top + taller,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    OnDpiChanged(dpi);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lp);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, lp);
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (!self->m_modal) self->m_hWnd = nullptr;
    }
    try {
        return self->HandleMessage(msg, wp, lp);
    } catch (...) {
        LogCaughtException(L"dialog procedure");
        return FALSE;
    }
}

}  // namespace win
