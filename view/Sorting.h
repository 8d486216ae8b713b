#pragma once
// Sorting the rows of the result list by the text of one column.
#include "win/Controls.h"

// Case-insensitive order of two cell texts; negative, 0 or positive.
int CompareCellText(const std::wstring& a, const std::wstring& b);

// Sorts every row by the text of `column`. Each row's data value holds its
// place in a snapshot of the texts for the time of the sort and is put back
// to 0 afterwards.
void SortByColumnText(const win::CListCtrl& list, int column, bool ascending);
