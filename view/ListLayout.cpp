#include "view/ListLayout.h"

#include <algorithm>

ColumnWidths InitialColumnWidths(int clientWidth, int scrollBarWidth) {
    int unit = (clientWidth - scrollBarWidth - 130) / 10;
    return ColumnWidths{{std::max(8 * unit, 0), std::max(unit + 25, 0), kSizeColumnWidth, kDateColumnWidth}};
}

int FileNameWidthAfterResize(int clientWidth, int typeWidth) {
    // A negative width would reach the list as a huge one (it takes 16 bits).
    return std::max(clientWidth - typeWidth - (kSizeColumnWidth + kDateColumnWidth), kMinFileNameWidth);
}
