#include "view/ListLayout.h"

#include <algorithm>

using win::ScaleForDpi;

ColumnWidths InitialColumnWidths(int clientWidth, int scrollBarWidth, UINT dpi) {
    int unit = (clientWidth - scrollBarWidth - ScaleForDpi(130, dpi)) / 10;
    return ColumnWidths{{std::max(8 * unit, 0), std::max(unit + ScaleForDpi(25, dpi), 0),
                         ScaleForDpi(kSizeColumnWidth, dpi), ScaleForDpi(kDateColumnWidth, dpi)}};
}

int FileNameWidthAfterResize(int clientWidth, int typeWidth, UINT dpi) {
    // A negative width would reach the list as a huge one (it takes 16 bits).
    return std::max(clientWidth - typeWidth - ScaleForDpi(kSizeColumnWidth + kDateColumnWidth, dpi),
                    ScaleForDpi(kMinFileNameWidth, dpi));
}
