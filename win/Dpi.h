#pragma once
// The display scale of a window, and the system's measures at a given scale.
// The per-DPI calls of Windows 10 are looked up at run time: where they are
// missing (Windows 7 and 8, some Wine versions) the system's own DPI stands
// for every window, and the plain calls' answers are scaled to the DPI asked.
#include <windows.h>

namespace win {

// The scale every size of the program is designed at (100 %).
inline constexpr UINT kDesignDpi = 96;

// `value`, designed at 96 DPI, at `dpi`.
int ScaleForDpi(int value, UINT dpi);
// `value`, measured at `from`, at `to` (a width the user chose, kept in proportion).
int RescaleForDpi(int value, UINT from, UINT to);

UINT SystemDpi();
UINT DpiForWindow(HWND hwnd);
int SystemMetricForDpi(int index, UINT dpi);
// The fonts of menus, captions, status bars and message boxes at `dpi`.
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi);
// The font of icon labels, which list views use, at `dpi`.
bool IconTitleFontForDpi(LOGFONTW& font, UINT dpi);
// Grows a client rectangle to the window rectangle of a window without a
// menu of these styles at `dpi`: its frame and caption measured at that scale.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace win
