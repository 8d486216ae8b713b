#include "win/Dialog.h"

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
