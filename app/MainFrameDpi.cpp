// The frame at its window's display scale: at creation, and whenever the
// window moves to a monitor of another scale.
#include "app/MainFrame.h"

#include <commctrl.h>

#include <utility>

#include "app/ToolBarPictures.h"
#include "view/ListController.h"
#include "win/Dpi.h"

namespace {
constexpr COLORREF kTransparent = RGB(255, 255, 255);
// The status bar's height at 96 DPI with the 9-point status font.
constexpr int kStatusBarHeight = 20;
}  // namespace

void CMainFrame::ApplyDpi(UINT dpi) {
    m_dpi = dpi;
    LoadToolBarPictures();
    SetStatusBarFont();
    if (m_pView) m_pView->ApplyDpi(dpi);
}

void CMainFrame::OnDpiChanged(UINT dpi, const RECT& suggested) {
    ApplyDpi(dpi);
    // The stored placement is in pixels and already right for the monitor
    // it puts the window on: only a window the user moves takes the size
    // Windows suggests. The frame is hidden while the program places it.
    if (IsWindowVisible())
        ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                       suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RecalcLayout();
}

void CMainFrame::LoadToolBarPictures() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    ToolBarPictures pictures = ToolBarPicturesForDpi(m_dpi);
    const int size = pictures.size;
    win::ImageList normal = win::LoadMaskedImageList(instance, pictures.normal, size, size, kTransparent);
    win::ImageList disabled = win::LoadMaskedImageList(instance, pictures.disabled, size, size, kTransparent);
    // A picture that cannot be loaded leaves that state to the toolbar's own
    // drawing. The toolbar only borrows the lists: the old ones go after it
    // has the new.
    m_wndToolBar.SetImageList(TB_SETIMAGELIST, normal.Get());
    m_wndToolBar.SetImageList(TB_SETHOTIMAGELIST, normal.Get());
    m_wndToolBar.SetImageList(TB_SETDISABLEDIMAGELIST, disabled.Get());
    m_toolBarImages = std::move(normal);
    m_toolBarDisabledImages = std::move(disabled);
    SizeToolBarButtons(pictures.size);
}

void CMainFrame::SizeToolBarButtons(int pictureSize) {
    const int marginX = win::ScaleForDpi(m_toolBarMargin.cx, m_dpi);
    const int marginY = win::ScaleForDpi(m_toolBarMargin.cy, m_dpi);
    m_wndToolBar.SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(pictureSize, pictureSize));
    m_wndToolBar.SendMessage(TB_SETPADDING, 0, MAKELPARAM(marginX, marginY));
    m_wndToolBar.SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(pictureSize + marginX, pictureSize + marginY));
    m_wndToolBar.AutoSize();
}

void CMainFrame::SetStatusBarFont() {
    win::GdiObject font = StatusFont(m_dpi);
    if (!font) return;
    // The bar's height follows its font, but its borders do not grow with
    // the scale: where the font leaves it lower than its 96-DPI height
    // scaled, its minimum height makes up the difference.
    const int wanted = win::ScaleForDpi(kStatusBarHeight, m_dpi);
    if (StatusBarHeightWith(font.Get(), 0) < wanted) {
        const int beyondMinimum = StatusBarHeightWith(font.Get(), wanted) - wanted;
        StatusBarHeightWith(font.Get(), wanted - beyondMinimum);
    }
    m_statusFont = std::move(font);
}

win::GdiObject CMainFrame::StatusFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    if (!win::NonClientMetricsForDpi(metrics, dpi)) return win::GdiObject();
    return win::GdiObject(::CreateFontIndirectW(&metrics.lfStatusFont));
}

int CMainFrame::StatusBarHeightWith(HGDIOBJ font, int minimumHeight) {
    // The bar works its height out when it gets a font, with the minimum it has then.
    m_wndStatusBar.SendMessage(SB_SETMINHEIGHT, minimumHeight);
    m_wndStatusBar.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    m_wndStatusBar.SendMessage(WM_SIZE);
    return m_wndStatusBar.GetWindowRect().bottom - m_wndStatusBar.GetWindowRect().top;
}
