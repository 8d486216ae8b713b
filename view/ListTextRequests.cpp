// Another window asks the list for a row's texts (LVM_GETITEMTEXT,
// LVM_GETITEM): it gets the texts the control draws, in its own character set.
#include <algorithm>

#include "view/BriskoView.h"

namespace {
// Copies `text` into a caller's buffer of `room` characters; the characters copied.
template <typename Char>
LRESULT CopyText(const std::wstring& text, Char* buffer, int room) {
    if (!buffer || room <= 0) return 0;
    if constexpr (sizeof(Char) == sizeof(wchar_t)) {
        ::lstrcpynW(reinterpret_cast<wchar_t*>(buffer), text.c_str(), room);
        return static_cast<LRESULT>(std::min<size_t>(text.size(), room - 1));
    } else {
        int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, room, nullptr, nullptr);
        if (bytes == 0) buffer[room - 1] = 0;
        return static_cast<LRESULT>(lstrlenA(buffer));
    }
}

template <typename Item, typename Original>
bool AnswerItemRequest(const CBriskoView& view, WPARAM wp, Item* item, LRESULT& result, bool textOnly,
                       Original original) {
    if (!item) return false;
    int row = textOnly ? static_cast<int>(wp) : item->iItem;
    if (row < 0 || static_cast<size_t>(row) >= view.Items().Count()) return false;
    if (textOnly) {
        result = CopyText(view.CellText(row, item->iSubItem), item->pszText, item->cchTextMax);
        return true;
    }
    result = original();
    if (item->mask & LVIF_TEXT) CopyText(view.CellText(row, item->iSubItem), item->pszText, item->cchTextMax);
    if (item->mask & LVIF_IMAGE) item->iImage = view.RowImage(static_cast<size_t>(row));
    return true;
}
}  // namespace

bool CBriskoView::AnswerTextRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    // Another window of this or another process asks for a row's texts:
    // the same texts the control draws, whether or not its notifications
    // reach this view.
    auto original = [&] { return DefaultProc(msg, wp, lp); };
    switch (msg) {
    case LVM_GETITEMTEXTW:
        return AnswerItemRequest(*this, wp, reinterpret_cast<LVITEMW*>(lp), result, true, original);
    case LVM_GETITEMTEXTA:
        return AnswerItemRequest(*this, wp, reinterpret_cast<LVITEMA*>(lp), result, true, original);
    case LVM_GETITEMW:
        return AnswerItemRequest(*this, wp, reinterpret_cast<LVITEMW*>(lp), result, false, original);
    case LVM_GETITEMA:
        return AnswerItemRequest(*this, wp, reinterpret_cast<LVITEMA*>(lp), result, false, original);
    }
    return false;
}
