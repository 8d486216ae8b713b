#include "scan/FoundItemOrder.h"

#include <oleauto.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
inline unsigned FoldAscii(wchar_t c) {
    unsigned u = static_cast<unsigned short>(c);
    return (u >= L'A' && u <= L'Z') ? u + (L'a' - L'A') : u;
}

bool SameToTheSecond(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}
}  // namespace

int CompareFoldedText(const std::wstring& a, const std::wstring& b) {
    // Paths of one listing share long beginnings: those go four code units
    // at a time while they are the same as they stand.
    const wchar_t *p = a.c_str(), *q = b.c_str();
    const size_t same = std::min(a.size(), b.size()) / 4 * 4;
    size_t at = 0;
    while (at < same && std::memcmp(p + at, q + at, 4 * sizeof(wchar_t)) == 0) at += 4;
    for (p += at, q += at;; ++p, ++q) {
        unsigned c = FoldAscii(*p), d = FoldAscii(*q);
        if (c != d || c == 0) return static_cast<int>(c) - static_cast<int>(d);
    }
}

ULONGLONG ShownKilobytes(ULONGLONG bytes) { return bytes == 0 ? 0 : (bytes <= 1024 ? 1 : bytes / 1024); }

std::optional<SYSTEMTIME> ShownLocalTime(const FILETIME& lastWrite) {
    FILETIME local{};
    SYSTEMTIME fields{}, back{};
    double variant = 0;
    if (!::FileTimeToLocalFileTime(&lastWrite, &local) || !::FileTimeToSystemTime(&local, &fields) ||
        !::SystemTimeToVariantTime(&fields, &variant) || !::VariantTimeToSystemTime(variant, &back) ||
        !SameToTheSecond(fields, back))
        return std::nullopt;
    return fields;
}

std::uint64_t DateOrderKey(const FILETIME& lastWrite) {
    std::optional<SYSTEMTIME> shown = ShownLocalTime(lastWrite);
    if (!shown) return 0;
    std::uint64_t key = shown->wMonth;
    key = key * 100 + shown->wDay;
    key = key * 100000 + shown->wYear;
    key = key * 100 + shown->wHour;
    key = key * 100 + shown->wMinute;
    return key + 1;
}

void SortFoundItems(FoundItems& items, int column, bool ascending, const std::vector<std::uint32_t>& tagRank) {
    switch (column) {
    case kColumnType:
        items.StableSortByKey(
            [&](const FoundItem& item) -> std::uint64_t { return item.tag < tagRank.size() ? tagRank[item.tag] : 0; },
            ascending);
        return;
    case kColumnSize:
        // The list read the leading number of the text as a 32-bit integer.
        items.StableSortByKey(
            [](const FoundItem& item) -> std::uint64_t {
                return item.folder ? 0 : std::min<ULONGLONG>(ShownKilobytes(item.size), LONG_MAX);
            },
            ascending);
        return;
    case kColumnDate:
        items.StableSortByKey([](const FoundItem& item) { return DateOrderKey(item.modified); }, ascending);
        return;
    default:
        // No two rows' names compare equal (they would be one item), so the
        // order needs no stable sort.
        if (ascending)
            items.Sort([](const FoundItem& a, const FoundItem& b) { return CompareFoldedText(a.path, b.path) < 0; });
        else
            items.Sort([](const FoundItem& a, const FoundItem& b) { return CompareFoldedText(b.path, a.path) < 0; });
        return;
    }
}
