// The Recycle Bin reached through handles: records that name each item's own
// place, so that a restore gives it back as it was; a bin that refuses
// leaves the item where it is and never deletes it for good; and a Windows
// bin folder filled as Windows fills it.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "clean/DeleteItem.h"
#include "item/Guards.h"
#include "item/ItemPath.h"
#include "clean/RecycleBin.h"
#include "CleanTestSupport.h"

using namespace testing_support;
using clean_test::ReasonRecorder;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) bytes += static_cast<char>(v);
    return bytes;
}

std::string AsText(const std::vector<BYTE>& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

TEST(WindowsBinRecord, HoldsVersionSizeTimeAndThePathAsWindowsReadsThem) {
    const struct {
        std::wstring path;
        ULONGLONG bytes;
        FILETIME when;
        std::string expected;
    } kCases[] = {
        {L"C:\\a.txt", 1234, {0x11223344, 0x55667788},
         Bytes({2, 0, 0, 0, 0, 0, 0, 0, 0xD2, 0x04, 0, 0, 0, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0x88, 0x77, 0x66, 0x55,
                9, 0, 0, 0, 'C', 0, ':', 0, '\\', 0, 'a', 0, '.', 0, 't', 0, 'x', 0, 't', 0, 0, 0})},
        {L"D:\\\x00e9\x4e2d", 0x100000000ULL, {0, 1},
         Bytes({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,
                6, 0, 0, 0, 'D', 0, ':', 0, '\\', 0, 0xE9, 0, 0x2D, 0x4E, 0, 0})},
    };
    for (const auto& c : kCases) EXPECT_EQ(AsText(WindowsBinRecord(c.path, c.bytes, c.when)), c.expected);
}

TEST(TrashInfoRecord, EscapesThePathAndWritesTheLocalTime) {
    const SYSTEMTIME when{2026, 12, 2, 8, 7, 5, 9, 0};
    const struct {
        std::string hostPath;
        std::string expectedPath;
    } kCases[] = {
        {"/tmp/pfx/drive_c/windows/temp/Applog", "/tmp/pfx/drive_c/windows/temp/Applog"},
        {"/tmp/a b/\xC3\xBC.log", "/tmp/a%20b/%C3%BC.log"},
        {"/x/100%#?", "/x/100%25%23%3F"},
        {"/p/dosdevices/c:/windows/temp", "/p/dosdevices/c:/windows/temp"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(TrashInfoRecord(c.hostPath, when),
                  "[Trash Info]\nPath=" + c.expectedPath + "\nDeletionDate=2026-12-08T07:05:09\n");
}

TEST(RecycleBinNames, KeepTheItemsOwnNameAndExtension) {
    EXPECT_EQ(TrashName(L"Applog", 0), L"Applog");
    EXPECT_EQ(TrashName(L"Applog", 1), L"Applog.2");
    EXPECT_EQ(TrashName(L"a.log", 3), L"a.log.4");
    const std::wstring later = TrashName(L"a.log", 9);
    EXPECT_EQ(later.substr(0, 6), L"a.log.");
    EXPECT_EQ(later.size(), 6u + 8u);
    const struct {
        const wchar_t* name;
        const wchar_t* extension;
    } kCases[] = {{L"report.log", L".log"}, {L"Applog", L""}, {L".hidden", L""}, {L"a.b.tmp", L".tmp"}};
    for (const auto& c : kCases) {
        std::wstring suffix = WindowsBinSuffix(c.name);
        ASSERT_EQ(suffix.size(), 6 + wcslen(c.extension)) << c.name;
        EXPECT_EQ(suffix.substr(6), c.extension) << c.name;
        EXPECT_EQ(suffix.substr(0, 6).find_first_not_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), std::wstring::npos);
    }
}

namespace {

// Hands out one bin for every folder, or none.
class FixedBins : public IRecycleBins {
public:
    explicit FixedBins(std::wstring windowsBin) : m_windowsBin(std::move(windowsBin)) {}
    std::unique_ptr<IRecycleBin> For(const HeldEntry&) const override {
        if (m_windowsBin.empty()) return nullptr;
        std::optional<HeldEntry> bin = HoldFolderAt(m_windowsBin);
        return bin ? WindowsRecycleBin(std::move(*bin)) : nullptr;
    }

private:
    std::wstring m_windowsBin;
};

// The one entry of `folder` whose name starts with `prefix` and ends in `ending`.
std::wstring OnlyEntry(const std::wstring& folder, const std::wstring& prefix, const std::wstring& ending) {
    WIN32_FIND_DATAW find;
    HANDLE search = ::FindFirstFileW((folder + L"\\" + prefix + L"*").c_str(), &find);
    std::wstring found;
    int count = 0;
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        std::wstring name = find.cFileName;
        if (name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
            found = name;
            ++count;
        }
    } while (::FindNextFileW(search, &find));
    ::FindClose(search);
    return count == 1 ? found : std::wstring();
}

// The path and size a "$I" record names.
struct ReadRecord {
    ULONGLONG bytes = 0;
    std::wstring path;
};
std::optional<ReadRecord> ReadWindowsRecord(const std::wstring& file) {
    std::string raw = ReadFileBytes(file);
    if (raw.size() < 28 || raw[0] != 2) return std::nullopt;
    auto number = [&](size_t at, int size) {
        ULONGLONG value = 0;
        for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(raw[at + i]);
        return value;
    };
    ReadRecord record;
    record.bytes = number(8, 8);
    size_t chars = static_cast<size_t>(number(24, 4));
    if (raw.size() != 28 + chars * 2) return std::nullopt;
    for (size_t i = 0; i + 1 < chars; ++i) record.path += static_cast<wchar_t>(number(28 + i * 2, 2));
    return record;
}

}  // namespace

TEST(RecycleBin, AWindowsBinTakesEachItemAsItsRBesideAnIRecordOfItsOwnPlace) {
    ScratchFolder folder(L"winbin");
    const std::wstring bin = folder / L"bin", file = folder / L"report.log", tree = folder / L"dir.x";
    MakeFolders(bin);
    WriteFileBytes(file, "keep me");
    MakeFolders(tree + L"\\inner");
    WriteFileBytes(tree + L"\\inner\\a.txt", "12345");
    FixedBins bins(CanonicalItemPath(bin)->path);
    ReasonRecorder report;
    const RemovalContext removal{MachineGuards(), report, &bins};
    const std::wstring canonicalFile = CanonicalItemPath(file)->path, canonicalTree = CanonicalItemPath(tree)->path;

    ASSERT_TRUE(DeleteFoundItem(file, false, removal));
    ASSERT_TRUE(DeleteFoundItem(tree, false, removal));

    EXPECT_TRUE(report.left.empty());
    EXPECT_FALSE(Exists(file));
    EXPECT_FALSE(Exists(tree));
    const struct {
        std::wstring ending, path, probe;
        std::string content;
        ULONGLONG bytes;
    } kMoved[] = {{L".log", canonicalFile, L"", "keep me", 7}, {L".x", canonicalTree, L"\\inner\\a.txt", "12345", 5}};
    for (const auto& moved : kMoved) {
        std::wstring r = OnlyEntry(bin, L"$R", moved.ending), i = OnlyEntry(bin, L"$I", moved.ending);
        ASSERT_FALSE(r.empty()) << moved.path;
        ASSERT_EQ(i.size(), r.size()) << moved.path;
        EXPECT_EQ(r.substr(2), i.substr(2)) << "the record and the item share their name";
        EXPECT_EQ(ReadFileBytes(bin + L"\\" + r + moved.probe), moved.content);
        std::optional<ReadRecord> record = ReadWindowsRecord(bin + L"\\" + i);
        ASSERT_TRUE(record) << moved.path;
        EXPECT_EQ(record->path, moved.path);
        EXPECT_EQ(record->bytes, moved.bytes);
    }
}

// Whatever the bin's trouble, a Recycle Bin clean deletes nothing for good:
// the item stays whole, told "the Recycle Bin refused it".
TEST(RecycleBin, AnItemTheBinCannotTakeStaysWhole) {
    ScratchFolder folder(L"refused");
    ScratchFolder dataHome(L"refused-data");
    WriteFileBytes(dataHome / L"Trash", "a file where the trash should be");
    const FixedBins noBin(L"");
    const struct {
        const char* name;
        bool blockedTrash;  // the desktop trash is a file (under Wine), else no bin at all
        bool folderItem;
        bool systemFolder;
    } kCases[] = {
        {"file, no bin", false, false, false},     {"folder, no bin", false, true, false},
        {"system folder, no bin", false, true, true}, {"file, blocked trash", true, false, false},
        {"folder, blocked trash", true, true, false}, {"system folder, blocked trash", true, true, true},
    };
    int n = 0;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        if (c.blockedTrash && !clean_test::UnderWine()) continue;
        std::wstring item = folder / (L"item" + std::to_wstring(n++));
        std::wstring file = c.folderItem ? item + L"\\inner\\junk.tmp" : item;
        if (c.folderItem) MakeFolders(item + L"\\inner");
        WriteFileBytes(file, "junk");
        RemovalGuards guards;
        guards.protectedFolders = MachineGuards().protectedFolders;
        if (c.systemFolder) guards.systemFolders.Add(CanonicalItemPath(item)->path);
        ReasonRecorder report;
        std::optional<clean_test::ScopedVariable> dataHomeVariable;
        if (c.blockedTrash) dataHomeVariable.emplace(L"XDG_DATA_HOME", clean_test::Widen(clean_test::UnixPathOf(dataHome.Path())));
        const RemovalContext removal{guards, report, c.blockedTrash ? nullptr : &noBin};

        EXPECT_FALSE(DeleteFoundItem(item, false, removal));

        EXPECT_EQ(ReadFileBytes(file), "junk");
        ASSERT_EQ(report.left.size(), 1u);
        EXPECT_EQ(report.left.begin()->second, LeftReason::RecycleRefused);
    }
}

TEST(RecycleBin, TheDesktopTrashHoldsEachItemUnderItsOwnNameWithARecordOfItsPlace) {
    const std::wstring trash = clean_test::PrefixTrashFolder();
    if (trash.empty()) GTEST_SKIP() << "the desktop trash is Wine's Recycle Bin";
    ScratchFolder folder(L"trash");
    const std::wstring name = L"Applog-" + std::to_wstring(::GetTickCount());
    const std::wstring first = folder / (name), second = folder / L"again";
    MakeFolders(first + L"\\inner");
    WriteFileBytes(first + L"\\inner\\x.txt", "x");
    WriteFileBytes(first + L"\\top.log", "top");
    MakeFolders(second);
    WriteFileBytes(second + L"\\" + name, "the second one");
    const std::string firstHost = clean_test::UnixPathOf(first), secondHost = clean_test::UnixPathOf(second + L"\\" + name);

    ASSERT_TRUE(DeleteFoundItem(first, false));
    ASSERT_TRUE(DeleteFoundItem(second + L"\\" + name, false));

    EXPECT_FALSE(Exists(first));
    EXPECT_FALSE(Exists(second + L"\\" + name));
    EXPECT_EQ(ReadFileBytes(trash + L"\\files\\" + name + L"\\inner\\x.txt"), "x");
    EXPECT_EQ(ReadFileBytes(trash + L"\\files\\" + name + L"\\top.log"), "top");
    EXPECT_EQ(ReadFileBytes(trash + L"\\files\\" + name + L".2"), "the second one");
    const struct {
        std::wstring record;
        std::string hostPath;
    } kRecords[] = {{name + L".trashinfo", firstHost}, {name + L".2.trashinfo", secondHost}};
    for (const auto& r : kRecords) {
        std::string text = ReadFileBytes(trash + L"\\info\\" + r.record);
        EXPECT_NE(text.find("\nPath=" + r.hostPath + "\n"), std::string::npos) << text;
    }
}
