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

namespace {
// What the platform adds to a time to make it local: the bias of now, which
// it applies to every time alike.
LONGLONG LocalBias() {
    FILETIME utc{}, local{};
    ::GetSystemTimeAsFileTime(&utc);
    if (!::FileTimeToLocalFileTime(&utc, &local)) return 0;
    return static_cast<LONGLONG>(ULARGE_INTEGER{{local.dwLowDateTime, local.dwHighDateTime}}.QuadPart -
                                 ULARGE_INTEGER{{utc.dwLowDateTime, utc.dwHighDateTime}}.QuadPart);
}

// DateOrderKey with the bias asked once for a whole sort: the platform's
// conversion asks for it anew each time, which costs more than the rest.
std::uint64_t DateOrderKeyWithBias(const FILETIME& lastWrite, LONGLONG bias) {
    const ULONGLONG utc = ULARGE_INTEGER{{lastWrite.dwLowDateTime, lastWrite.dwHighDateTime}}.QuadPart;
    const ULONGLONG local = utc + static_cast<ULONGLONG>(bias);
    if ((bias < 0 && local > utc) || (bias > 0 && local < utc)) return 0;  // beyond either end
    FILETIME time{static_cast<DWORD>(local), static_cast<DWORD>(local >> 32)};
    SYSTEMTIME fields{};
    // Variant times, through which the shown text is checked, end with 9999.
    if (!::FileTimeToSystemTime(&time, &fields) || fields.wYear > 9999) return 0;
    return local + 1;  // a shown local time is far below the top of the range
}

// A row while its name is sorted: where its name's code units are, and
// four of them from the depth in hand as one number that orders as they do
// (0 standing for the end of the name).
struct NameEntry {
    std::uint64_t key;
    const wchar_t* name;
    std::uint32_t length;
    FoundItems::Id id;
};

std::uint64_t NameKeyAt(const NameEntry& entry, size_t depth) {
    std::uint64_t key = 0;
    for (size_t i = depth; i < depth + 4; ++i) key = key << 16 | (i < entry.length ? FoldAscii(entry.name[i]) : 0u);
    return key;
}

// The folded comparison of two names that agree before `depth`.
bool NameLessFrom(const NameEntry& a, const NameEntry& b, size_t depth) {
    for (size_t i = depth;; ++i) {
        unsigned c = i < a.length ? FoldAscii(a.name[i]) : 0u, d = i < b.length ? FoldAscii(b.name[i]) : 0u;
        if (c != d || c == 0) return c < d;
    }
}

// Sorts a run of rows whose names agree before `depth`, four code units at a
// time: each round skips what the whole run has in common, so that the
// long shared beginnings of a listing's paths are read once, not at every
// comparison. A short run is sorted by plain comparisons.
void SortNameRun(NameEntry* first, NameEntry* last, size_t depth) {
    if (last - first < 2) return;
    if (last - first <= 16) {
        std::sort(first, last, [depth](const NameEntry& a, const NameEntry& b) { return NameLessFrom(a, b, depth); });
        return;
    }
    size_t common = first->length;
    for (NameEntry* entry = first + 1; entry != last && common > depth; ++entry) {
        size_t at = depth, end = std::min<size_t>(common, entry->length);
        while (at < end && FoldAscii(entry->name[at]) == FoldAscii(first->name[at])) ++at;
        common = at;
    }
    depth = std::max(depth, common);
    for (NameEntry* entry = first; entry != last; ++entry) entry->key = NameKeyAt(*entry, depth);
    std::sort(first, last, [](const NameEntry& a, const NameEntry& b) { return a.key < b.key; });
    for (NameEntry* run = first; run != last;) {
        NameEntry* end = run + 1;
        while (end != last && end->key == run->key) ++end;
        if ((run->key & 0xFFFF) != 0) SortNameRun(run, end, depth + 4);  // a run that ended is one name
        run = end;
    }
}

void SortByName(std::vector<FoundItems::Id>& rows, const FoundItemStore& store, bool ascending) {
    std::vector<NameEntry> entries(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::wstring& name = store[rows[i]].path;
        entries[i] = {0, name.c_str(), static_cast<std::uint32_t>(name.size()), rows[i]};
    }
    SortNameRun(entries.data(), entries.data() + entries.size(), 0);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = entries[ascending ? i : rows.size() - 1 - i].id;
}
}  // namespace

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

std::uint64_t DateOrderKey(const FILETIME& lastWrite) { return DateOrderKeyWithBias(lastWrite, LocalBias()); }

void SortFoundItems(FoundItems& items, int column, bool ascending, const std::vector<std::uint32_t>& tagRank) {
    switch (column) {
    case kColumnType:
        items.StableSortByKey(
            // A type's rows, then by the rules entry that found them.
            [&](const FoundItem& item) -> std::uint64_t {
                std::uint64_t rank = item.tag < tagRank.size() ? tagRank[item.tag] : 0;
                return rank << 16 | item.rule;
            },
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
    case kColumnDate: {
        const LONGLONG bias = LocalBias();
        items.StableSortByKey([bias](const FoundItem& item) { return DateOrderKeyWithBias(item.modified, bias); },
                              ascending);
        return;
    }
    default:
        // No two rows' names compare equal (they would be one item), so
        // descending is ascending turned round.
        items.ArrangeRows([ascending](std::vector<FoundItems::Id>& rows, const FoundItemStore& store) {
            SortByName(rows, store, ascending);
        });
        return;
    }
}
