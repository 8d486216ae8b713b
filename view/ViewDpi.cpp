// The list at a display scale: its font (which sets the row height with the
// small icons), its icons and its column widths.
#include "view/BriskoView.h"
#include "win/Dpi.h"

void CBriskoView::ApplyDpi(UINT dpi) {
    const UINT before = m_dpi;
    m_dpi = dpi;
    LOGFONTW logFont{};
    if (win::IconTitleFontForDpi(logFont, dpi)) {
        if (win::GdiObject font{::CreateFontIndirectW(&logFont)}) {
            SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
            m_listFont = std::move(font);
        }
    }
    CreateImageLists();
    if (!m_bColumnsReady || before == dpi) return;
    win::CListCtrl list = List();
    for (int i = 0; i < 4; ++i) list.SetColumnWidth(i, win::RescaleForDpi(list.GetColumnWidth(i), before, dpi));
}
