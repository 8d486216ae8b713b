#pragma once
// The header's side of a sort: the arrow that tells the order just made.
#include <windows.h>
#include <commctrl.h>

// A header item's format after a sort: the arrow on the right, and on the
// sorted column the arrow of the order just made (down after an ascending
// sort, up after a descending one); no arrow on the other columns.
int SortedHeaderFormat(int format, bool sortedColumn, bool ascending);
