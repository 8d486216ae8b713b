// The frame at its window's display scale: at creation, and whenever the
// window moves to a monitor of another scale.
#include "app/MainFrame.h"

#include <commctrl.h>

#include <utility>

#include "app/ToolBarPictures.h"
#include "view/BriskoView.h"
#include "win/Dpi.h"

namespace {
constexpr COLORREF kTransparent = RGB(255, 255, 255);
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
    win::ImageList normal = win::LoadMaskedImageList(instance, pictures.normal, pictures.size, pictures.size, kTransparent);
    win::ImageList disabled =
        win::LoadMaskedImageList(instance, pictures.disabled, pictures.size, pictures.size, kTransparent);
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
    NONCLIENTMETRICSW metrics{};
    if (!win::NonClientMetricsForDpi(metrics, m_dpi)) return;
    win::GdiObject font{::CreateFontIndirectW(&metrics.lfStatusFont)};
    if (!font) return;
    // The bar takes its height from its font.
    m_wndStatusBar.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    m_wndStatusBar.SendMessage(WM_SIZE);
    m_statusFont = std::move(font);
}
