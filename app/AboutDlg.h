#pragma once
// The About dialog: the program's picture, which links to the home page, the
// version, and the maker's mail address as a link.
#include <windows.h>
#include <string>

#include "res/resource.h"
#include "win/Dialog.h"
#include "win/Handle.h"
#include "win/StaticLink.h"

// The version the dialog shows.
inline constexpr const wchar_t* kVersionCaption = L"Version " BRISKO_DISPLAY_VERSION;

class CAboutDlg : public win::CDialog {
public:
    CAboutDlg();

    win::CStaticLink m_wndLink;  // the picture: the home page
    win::CStaticLink m_wndMail;  // the mail address
    std::wstring m_strLinkUrl;   // the home page's address

protected:
    bool OnInit() override;
    void OnDpiChanged(UINT dpi) override { ScalePictures(dpi); }
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Above 100 % the two bitmaps are drawn at the dialog's scale.
    void ScalePictures(UINT dpi);
    INT_PTR OnCtlColorStatic(WPARAM dc, LPARAM control);

    win::GdiObject m_scaledPicture;
    win::GdiObject m_scaledStrip;
};
