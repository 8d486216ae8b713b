#include "view/Sorting.h"

#include <commctrl.h>

#include <vector>

namespace {
struct SortContext {
    const std::vector<std::wstring>* texts;
    bool ascending;
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM context) {
    const auto* sort = reinterpret_cast<const SortContext*>(context);
    int order = CompareCellText((*sort->texts)[first], (*sort->texts)[second]);
    return sort->ascending ? order : -order;
}

void SetRowData(const win::CListCtrl& list, int row, LPARAM data) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    list.SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}
}  // namespace

int CompareCellText(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                            static_cast<int>(b.size())) - CSTR_EQUAL;
}

void SortByColumnText(const win::CListCtrl& list, int column, bool ascending) {
    const int rows = list.GetItemCount();
    std::vector<std::wstring> texts;
    texts.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        texts.push_back(list.GetItemText(row, column));
        SetRowData(list, row, row);
    }
    SortContext context{&texts, ascending};
    list.SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context), reinterpret_cast<LPARAM>(&CompareRows));
    for (int row = 0; row < rows; ++row) SetRowData(list, row, 0);
}
