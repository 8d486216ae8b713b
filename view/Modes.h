#pragma once
#include <windows.h>

// Scan modes; the same order is the cycle of the next mode after a clean.
enum : BYTE { MODE_STANDARD = 1, MODE_COOKIES_KILLER = 2, MODE_OFFLINE_TEMP = 3 };

// Private messages of the view.
inline constexpr UINT WM_CLEANDONE = WM_USER + 257;    // a worker has finished
inline constexpr UINT WM_CLEANITEM = WM_USER + 258;    // the clean worker starts (-1) or ends a row
inline constexpr UINT WM_LANGCHANGED = WM_USER + 259;  // a new language file is in use
