// The listing of found items: one row per item, rows that a clean drops from
// the bottom up, and the orders of the list's columns on the records.
#include <windows.h>

#include <gtest/gtest.h>

#include "scan/FoundItemOrder.h"
#include "scan/FoundItems.h"

namespace {

FILETIME LocalTime(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME local{year, month, 0, day, hour, minute, 0, 0};
    FILETIME localTime{}, utc{};
    ::SystemTimeToFileTime(&local, &localTime);
    ::LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

FoundItem File(const std::wstring& path, ULONGLONG size = 0, FILETIME modified = {}, std::uint32_t tag = 0) {
    FoundItem item;
    item.path = path;
    item.size = size;
    item.modified = modified;
    item.tag = tag;
    return item;
}

FoundItem Folder(const std::wstring& path) {
    FoundItem item = File(path);
    item.folder = true;
    return item;
}

std::wstring Paths(const FoundItems& items) {
    std::wstring paths;
    for (size_t row = 0; row < items.Count(); ++row) paths += (row ? L"," : L"") + items[row].path;
    return paths;
}

}  // namespace

TEST(FoundItems, OneRowPerItemWhateverItsSpelling) {
    FoundItems items;
    EXPECT_TRUE(items.Add(File(L"C:\\t\\a.tmp")));
    EXPECT_FALSE(items.Add(File(L"c:\\T\\A.TMP")));
    EXPECT_FALSE(items.Add(File(L"C:\\t\\.\\a.tmp")));
    EXPECT_FALSE(items.Add(File(L"C:\\t\\x\\..\\a.tmp")));
    EXPECT_TRUE(items.Add(File(L"C:\\t\\b.tmp"), true));
    EXPECT_EQ(Paths(items), L"C:\\t\\b.tmp,C:\\t\\a.tmp");
    items.RemoveRow(1);  // a dropped row keeps its item listed until the listing is emptied
    EXPECT_FALSE(items.Add(File(L"C:\\t\\a.tmp")));
    items.Clear();
    EXPECT_TRUE(items.Add(File(L"C:\\t\\a.tmp")));
}

TEST(FoundItems, RowsDroppedFromTheBottomUpLeaveTheOthersInOrder) {
    FoundItems items;
    for (wchar_t c = L'a'; c <= L'j'; ++c) items.Add(File(std::wstring(L"C:\\") + c));
    const size_t drops[] = {9, 7, 6, 2, 3, 0};  // as a clean, then one row among those it passed
    for (size_t row : drops) items.RemoveRow(row);
    EXPECT_EQ(Paths(items), L"C:\\b,C:\\d,C:\\f,C:\\i");
    EXPECT_EQ(items.IdAt(2), 5u);
    items.Add(File(L"C:\\k"), true);
    items.Add(File(L"C:\\l"));
    EXPECT_EQ(Paths(items), L"C:\\k,C:\\b,C:\\d,C:\\f,C:\\i,C:\\l");
}

// A scan of a million items keeps a million records: the rules entry a
// record names fits beside its other small fields.
TEST(FoundItems, ARecordStaysWithinSixtyFourBytes) { EXPECT_LE(sizeof(FoundItem), 64u); }

TEST(FoundItemOrder, NamesAndSizesOrderAsTheirTextsDatesAsTimeRuns) {
    const FILETIME jan2009 = LocalTime(2009, 1, 5, 9, 0), dec2001 = LocalTime(2001, 12, 1, 10, 0);
    const FILETIME early = LocalTime(2009, 1, 5, 7, 0), unshowable{0xFFFFFFFF, 0xFFFFFFFF};
    const struct {
        int column;
        FoundItem a, b;
        char order;  // '<' a first, '>' b first, '=' either, kept as added
    } cases[] = {
        {kColumnName, File(L"C:\\ABC\\y"), File(L"C:\\abc\\x"), '>'},
        {kColumnName, File(L"C:\\_a"), File(L"C:\\B"), '<'},
        {kColumnName, File(L"C:\\a-c.log"), File(L"C:\\ab.log"), '<'},
        {kColumnName, File(L"C:\\\xE4"), File(L"C:\\b"), '>'},  // only A-Z fold
        {kColumnName, File(L"C:\\\xC4a"), File(L"C:\\\xE4b"), '<'},
        {kColumnName, File(L"C:\\ab"), File(L"C:\\abc"), '<'},
        {kColumnSize, File(L"2k", 2048), File(L"10k", 10240), '<'},
        {kColumnSize, Folder(L"dir"), File(L"zero", 0), '='},
        {kColumnSize, File(L"one", 1), File(L"1k", 1024), '='},  // both "1 KB"
        {kColumnSize, File(L"1k", 1024), File(L"1k+1", 1025), '='},
        {kColumnSize, File(L"1k+1", 1025), File(L"2k", 2048), '<'},
        {kColumnSize, Folder(L"dir"), File(L"one", 1), '<'},
        {kColumnDate, File(L"a", 0, dec2001), File(L"b", 0, jan2009), '<'},
        {kColumnDate, File(L"a", 0, LocalTime(2025, 12, 31, 23, 59)), File(L"b", 0, LocalTime(2026, 1, 2, 0, 0)), '<'},
        {kColumnDate, File(L"a", 0, LocalTime(2026, 1, 2, 8, 0)), File(L"b", 0, LocalTime(2025, 1, 3, 8, 0)), '>'},
        {kColumnDate, File(L"a", 0, early), File(L"b", 0, jan2009), '<'},
        {kColumnDate, File(L"a", 0, jan2009), File(L"b", 0, LocalTime(2009, 1, 5, 9, 0)), '='},
        {kColumnDate, File(L"a", 0, unshowable), File(L"b", 0, dec2001), '<'},  // no text first
        {kColumnType, File(L"a", 0, {}, 1), File(L"b", 0, {}, 0), '<'},
        {kColumnType, File(L"a", 0, {}, 2), File(L"b", 0, {}, 0), '='},
    };
    // Names that differ only in the case of A-Z compare equal; in a listing they are one item.
    EXPECT_EQ(CompareFoldedText(L"C:\\ABC", L"C:\\abc"), 0);
    // Tag 0 "TMP File", 1 "Folder", 2 "tmp file".
    const std::vector<std::uint32_t> typeRank = {1, 0, 1};
    for (const auto& c : cases) {
        for (bool ascending : {true, false}) {
            FoundItems items;
            items.Add(c.a);
            items.Add(c.b);
            SortFoundItems(items, c.column, ascending, typeRank);
            const bool aFirst = items[0].path == c.a.path;
            const bool expected = c.order == '=' || (c.order == '<') == ascending;
            EXPECT_EQ(aFirst, expected) << "column " << c.column << (ascending ? " up " : " down ")
                                        << std::string(c.a.path.begin(), c.a.path.end()) << " "
                                        << std::string(c.b.path.begin(), c.b.path.end());
        }
    }
}
