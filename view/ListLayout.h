#pragma once
// The widths of the list's four columns, designed at 96 DPI and drawn at the
// list's own DPI.
#include <windows.h>

#include "win/Dpi.h"

// Fixed widths of the Size and Date Modified columns at 96 DPI.
inline constexpr int kSizeColumnWidth = 80;
inline constexpr int kDateColumnWidth = 125;
// The File Name column never gets narrower than this when the window shrinks.
inline constexpr int kMinFileNameWidth = 100;

struct ColumnWidths {
    int width[4];
};

// At the set-up: a tenth of what the fixed columns and a vertical scroll bar
// leave is the unit; File Name gets 8 units, Type a unit and 25 pixels.
ColumnWidths InitialColumnWidths(int clientWidth, int scrollBarWidth, UINT dpi = win::kDesignDpi);

// After a size change: File Name takes what Type (as it is now) and the two
// fixed columns leave.
int FileNameWidthAfterResize(int clientWidth, int typeWidth, UINT dpi = win::kDesignDpi);
