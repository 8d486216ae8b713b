#include "app/AboutDlg.h"

#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "res/resource.h"
#include "win/Dpi.h"
#include "win/Text.h"

CAboutDlg::CAboutDlg() : win::CDialog(IDD_ABOUTBOX) {}

INT_PTR CAboutDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    return msg == WM_CTLCOLORSTATIC ? OnCtlColorStatic(wp, lp) : FALSE;
}

bool CAboutDlg::OnInit() {
    m_strLinkUrl = win::LoadResString(IDS_HOME_PAGE);
    m_wndLink.m_link.m_strLink = m_strLinkUrl;
    m_wndMail.m_link.m_strLink = L"mailto:" BRISKO_MAIL_ADDRESS;
    m_wndLink.Subclass(GetItem(IDC_ABOUT_PICTURE));
    m_wndMail.Subclass(GetItem(IDC_ABOUT_MAIL));
    // The resource caption stays with the built-in texts.
    if (!IsDefaultLanguage())
        SetWindowText(GetLangString(LangId::TitleAbout) + L" " + win::LoadResString(AFX_IDS_APP_TITLE));
    SetItemText(IDC_ABOUT_VERSION, FillInLangText(LangId::LabelVersion, {L"" BRISKO_DISPLAY_VERSION}));
    SetItemText(IDC_ABOUT_CREDIT, GetUiText(LangId::LabelCredit));
    SetItemText(IDOK, GetUiText(LangId::ButtonOk));
    ScalePictures(Dpi());
    return true;  // the focus goes to the default button
}

void CAboutDlg::ScalePictures(UINT dpi) {
    // At 100 % the controls keep the bitmaps of the template, unless the
    // dialog comes back to it from another scale.
    if (dpi == win::kDesignDpi && !m_scaledPicture) return;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    auto scale = [&](int control, UINT bitmap, win::GdiObject& owner) {
        BITMAP size{};
        win::GdiObject design(::LoadImageW(instance, MAKEINTRESOURCEW(bitmap), IMAGE_BITMAP, 0, 0, 0));
        if (!design || !::GetObjectW(design.Get(), sizeof(size), &size)) return;
        const int width = win::ScaleForDpi(size.bmWidth, dpi), height = win::ScaleForDpi(size.bmHeight, dpi);
        win::GdiObject scaled(
            ::LoadImageW(instance, MAKEINTRESOURCEW(bitmap), IMAGE_BITMAP, width, height, 0));
        if (!scaled) return;
        // The dialog owns the scaled bitmap; the one the control loaded from the template stays its own.
        ::SendMessageW(GetItem(control), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled.Get()));
        owner = std::move(scaled);
    };
    scale(IDC_ABOUT_PICTURE, IDB_PROGRAM_PICTURE, m_scaledPicture);
    scale(IDC_ABOUT_STRIP, IDB_ABOUT_STRIP, m_scaledStrip);
}

INT_PTR CAboutDlg::OnCtlColorStatic(WPARAM dc, LPARAM control) {
    // The links choose their own colours; a null brush leaves the default drawing.
    HWND hwnd = reinterpret_cast<HWND>(control);
    if (hwnd != m_wndLink.GetSafeHwnd() && hwnd != m_wndMail.GetSafeHwnd()) return FALSE;
    return ::SendMessageW(hwnd, win::WM_REFLECT_CTLCOLORSTATIC, dc, control);
}
