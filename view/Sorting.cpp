#include "view/Sorting.h"

#include <cwchar>

namespace {
// Only the letters A to Z fold; every other code unit compares as it is.
inline unsigned FoldAscii(wchar_t c) {
    unsigned u = static_cast<unsigned short>(c);
    return (u >= L'A' && u <= L'Z') ? u + (L'a' - L'A') : u;
}

int CompareTexts(const std::wstring& a, const std::wstring& b) {
    for (const wchar_t *p = a.c_str(), *q = b.c_str();; ++p, ++q) {
        unsigned c = FoldAscii(*p), d = FoldAscii(*q);
        if (c != d || c == 0) return static_cast<int>(c) - static_cast<int>(d);
    }
}

int CompareNumbers(LONG a, LONG b) { return a == b ? 0 : (a > b ? 1 : -1); }

const CSortItem& TextRecord(LPARAM record) { return *reinterpret_cast<const CSortItem*>(record); }
LONG NumberKey(LPARAM record) { return reinterpret_cast<const CSortItemInt*>(record)->m_nKey; }
}  // namespace

LONG LeadingNumber(const std::wstring& text) { return std::wcstol(text.c_str(), nullptr, 10); }

CSortClass::CSortClass(const win::CListCtrl& list, int column, const std::wstring& type)
    : m_list(list), m_nColumn(column) {
    m_strSortType = type;
    const int rows = m_list.GetItemCount();
    int row = 0;
    try {
        for (; row < rows; ++row) {
            LPARAM data = m_list.GetItemData(row);
            std::wstring text = m_list.GetItemText(row, m_nColumn);
            LPARAM record = IsTextSort() ? reinterpret_cast<LPARAM>(new CSortItem(std::move(text), data))
                                         : reinterpret_cast<LPARAM>(new CSortItemInt{LeadingNumber(text), data});
            m_list.SetItemData(row, record);
        }
    } catch (...) {
        RestoreRows(row);  // no destructor runs for a half-made sort
        throw;
    }
}

CSortClass::~CSortClass() { RestoreRows(m_list.GetItemCount()); }

void CSortClass::RestoreRows(int rows) {
    for (int row = 0; row < rows; ++row) {
        LPARAM record = m_list.GetItemData(row);
        if (!record) continue;
        if (IsTextSort()) {
            auto* item = reinterpret_cast<CSortItem*>(record);
            m_list.SetItemData(row, item->m_dwData);
            delete item;
        } else {
            auto* item = reinterpret_cast<CSortItemInt*>(record);
            m_list.SetItemData(row, item->m_dwData);
            delete item;
        }
    }
}

void CSortClass::Sort(bool ascending) {
    PFNLVCOMPARE compare = IsTextSort() ? (ascending ? &CompareTextAscending : &CompareTextDescending)
                                        : (ascending ? &CompareNumberAscending : &CompareNumberDescending);
    m_list.SendMessage(LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(compare));
}

int CALLBACK CSortClass::CompareTextAscending(LPARAM first, LPARAM second, LPARAM) {
    return CompareTexts(TextRecord(first).m_strText, TextRecord(second).m_strText);
}

int CALLBACK CSortClass::CompareTextDescending(LPARAM first, LPARAM second, LPARAM) {
    return CompareTexts(TextRecord(second).m_strText, TextRecord(first).m_strText);
}

int CALLBACK CSortClass::CompareNumberAscending(LPARAM first, LPARAM second, LPARAM) {
    return CompareNumbers(NumberKey(first), NumberKey(second));
}

int CALLBACK CSortClass::CompareNumberDescending(LPARAM first, LPARAM second, LPARAM) {
    return CompareNumbers(NumberKey(second), NumberKey(first));
}

const wchar_t* SortTypeOfColumn(int column) { return column == 2 ? L"N" : L"C"; }

void SortByColumn(const win::CListCtrl& list, int column, bool ascending) {
    CSortClass sort(list, column, SortTypeOfColumn(column));
    sort.Sort(ascending);
}

int SortedHeaderFormat(int format, bool sortedColumn, bool ascending) {
    format = (format | HDF_BITMAP_ON_RIGHT) & ~(HDF_SORTUP | HDF_SORTDOWN);
    if (sortedColumn) format |= ascending ? HDF_SORTDOWN : HDF_SORTUP;
    return format;
}
