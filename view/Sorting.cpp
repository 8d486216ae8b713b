#include "view/Sorting.h"

int SortedHeaderFormat(int format, bool sortedColumn, bool ascending) {
    format = (format | HDF_BITMAP_ON_RIGHT) & ~(HDF_SORTUP | HDF_SORTDOWN);
    if (sortedColumn) format |= ascending ? HDF_SORTDOWN : HDF_SORTUP;
    return format;
}
