#include "win/StaticLink.h"

#include <shellapi.h>

#include "win/Text.h"

namespace win {

CHyperlink::Opener CHyperlink::s_open = [](const std::wstring& address) {
    return ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
};

HINSTANCE CHyperlink::OpenAddress(const std::wstring& address) {
    return address.empty() ? nullptr : s_open(address);
}

LRESULT CStaticLink::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_REFLECT_CTLCOLORSTATIC:
        return OnCtlColor(reinterpret_cast<HDC>(wp));
    case WM_LBUTTONDOWN:
        OnLButtonDown();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor()) return TRUE;
        break;
    }
    return DefaultProc(msg, wp, lp);
}

LRESULT CStaticLink::OnCtlColor(HDC dc) {
    // The low byte of the style holds the control's type: anything but left,
    // centred or right text (a picture, say) keeps the parent's colours.
    if ((GetStyle() & 0xFF) > SS_RIGHT) return 0;
    ::SetTextColor(dc, m_color);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

void CStaticLink::OnLButtonDown() {
    if (m_link.m_strLink.empty()) {
        m_link.m_strLink = LoadResString(static_cast<UINT>(::GetDlgCtrlID(m_hWnd)));
        if (m_link.m_strLink.empty()) m_link.m_strLink = GetWindowText();
        if (m_link.m_strLink.empty()) return;
    }
    if (reinterpret_cast<INT_PTR>(m_link.Open()) > 32) {
        m_color = kVisited;
        Invalidate(true);
    }
}

bool CStaticLink::OnSetCursor() {
    // One copy of the system's hand for every link, loaded on the first
    // request and kept until the program ends; a failed load is not retried.
    static const HCURSOR hand = [] {
        HCURSOR system = ::LoadCursorW(nullptr, IDC_HAND);
        return system ? static_cast<HCURSOR>(::CopyIcon(system)) : nullptr;
    }();
    if (!hand) return false;
    ::SetCursor(hand);
    return true;
}

}  // namespace win
