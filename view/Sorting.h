#pragma once
// Sorting the rows of the result list by the texts of one column.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "win/Controls.h"

// The record of one row during a text sort: the row's text in the sort
// column and the data the row held before.
class CSortItem {
public:
    CSortItem(std::wstring text, LPARAM data) : m_strText(std::move(text)), m_dwData(data) {}
    virtual ~CSortItem() = default;

    std::wstring m_strText;
    LPARAM m_dwData;
};

// The record of one row during a numeric sort.
struct CSortItemInt {
    LONG m_nKey;
    LPARAM m_dwData;
};

// The number a text begins with, read as a decimal integer: blanks, a sign,
// digits up to the first other character; 0 when there is none.
LONG LeadingNumber(const std::wstring& text);

// Sorts the rows of one list by the texts of one column. From construction to
// destruction every row's data holds its record; the destructor puts the old
// data back. The sort type is shared, so only one sort exists at a time.
class CSortClass {
public:
    // `type` "C" sorts by text, "N" by the number each text begins with.
    CSortClass(const win::CListCtrl& list, int column, const std::wstring& type);
    virtual ~CSortClass();
    CSortClass(const CSortClass&) = delete;
    CSortClass& operator=(const CSortClass&) = delete;

    void Sort(bool ascending);

    // Comparisons of two records, as LVM_SORTITEMS calls them. Texts compare
    // by 16-bit code units with only A-Z folded to a-z; the result is the
    // difference of the first two characters that differ.
    static int CALLBACK CompareTextAscending(LPARAM first, LPARAM second, LPARAM);
    static int CALLBACK CompareTextDescending(LPARAM first, LPARAM second, LPARAM);
    static int CALLBACK CompareNumberAscending(LPARAM first, LPARAM second, LPARAM);
    static int CALLBACK CompareNumberDescending(LPARAM first, LPARAM second, LPARAM);

    static inline std::wstring m_strSortType = L"C";

private:
    static bool IsTextSort() { return m_strSortType == L"C"; }
    // Puts the saved data back into the first `rows` rows and frees their records.
    void RestoreRows(int rows);

    win::CListCtrl m_list;
    int m_nColumn;
};

// The sort type of a column: "N" for Size, whose texts begin with a number
// of kilobytes, "C" for the others.
const wchar_t* SortTypeOfColumn(int column);

// Sorts every row by the texts of `column` with the column's sort type.
void SortByColumn(const win::CListCtrl& list, int column, bool ascending);

// A header item's format after a sort: the arrow on the right, and on the
// sorted column the arrow of the order just made (down after an ascending
// sort, up after a descending one); no arrow on the other columns.
int SortedHeaderFormat(int format, bool sortedColumn, bool ascending);
