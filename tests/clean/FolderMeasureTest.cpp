// What a folder item holds, measured before a clean: files, folders and
// links counted as the clean walks them, a link as itself, and nothing of
// the tree changed by the looking.
#include <gtest/gtest.h>

#include <map>

#include "clean/FolderMeasure.h"
#include "item/Guards.h"
#include "CleanTestSupport.h"

using namespace testing_support;
using clean_test::MakeLink;

namespace {

// Every entry below `folder`, links not followed, with its attributes and times.
struct Stamp {
    DWORD attributes = 0;
    FILETIME created{}, accessed{}, written{};
    bool operator==(const Stamp& other) const {
        return attributes == other.attributes && ::CompareFileTime(&created, &other.created) == 0 &&
               ::CompareFileTime(&accessed, &other.accessed) == 0 && ::CompareFileTime(&written, &other.written) == 0;
    }
};
std::map<std::wstring, Stamp> StampsBelow(const std::wstring& folder) {
    std::map<std::wstring, Stamp> stamps;
    std::vector<std::wstring> pending{folder};
    while (!pending.empty()) {
        const std::wstring at = pending.back();
        pending.pop_back();
        WIN32_FIND_DATAW find{};
        HANDLE search = ::FindFirstFileW((at + L"\\*").c_str(), &find);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            const std::wstring name = find.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = at + L"\\" + name;
            stamps[path] = {find.dwFileAttributes, find.ftCreationTime, find.ftLastAccessTime, find.ftLastWriteTime};
            if ((find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(find.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                pending.push_back(path);
        } while (::FindNextFileW(search, &find));
        ::FindClose(search);
    }
    return stamps;
}

// item\ holds 4 files of 3 + 5 + 7 + 11 bytes (one read-only), the folders
// sub, sub\deep and empty, and a link to a folder and one to a file, both
// outside and much bigger: 9 items, 26 bytes.
class MeasuredTree : public ::testing::Test {
protected:
    void SetUp() override {
        item = root / L"item";
        outside = root / L"outside";
        MakeFolders(item + L"\\sub\\deep");
        MakeFolders(item + L"\\empty");
        MakeFolders(outside + L"\\dir");
        WriteFileBytes(item + L"\\a.tmp", "aaa");
        WriteFileBytes(item + L"\\sub\\b.tmp", "bbbbb");
        WriteFileBytes(item + L"\\sub\\deep\\c.tmp", "ccccccc");
        WriteFileBytes(item + L"\\ro.tmp", "rrrrrrrrrrr");
        ::SetFileAttributesW((item + L"\\ro.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
        WriteFileBytes(outside + L"\\dir\\big.bin", std::string(4000, 'x'));
        WriteFileBytes(outside + L"\\big.bin", std::string(1000, 'x'));
        ASSERT_TRUE(MakeLink(item + L"\\dirlink", outside + L"\\dir", true));
        ASSERT_TRUE(MakeLink(item + L"\\filelink.bin", outside + L"\\big.bin", false));
    }
    void TearDown() override { ::SetFileAttributesW((item + L"\\ro.tmp").c_str(), FILE_ATTRIBUTE_NORMAL); }

    ScratchFolder root{L"measure"};
    std::wstring item, outside;
};

}  // namespace

TEST_F(MeasuredTree, CountsWhatTheCleanWouldTakeWithEachLinkAsItselfAndChangesNothing) {
    // The host moves a folder's access time at its first listing after a
    // change, whoever lists it: the stamps are taken once that happened.
    StampsBelow(root.Path());
    const std::map<std::wstring, Stamp> before = StampsBelow(root.Path());
    const RemovalGuards& guards = MachineGuards();
    const struct {
        const char* what;
        std::wstring folder;
        size_t items;
        ULONGLONG bytes;
    } cases[] = {
        {"the whole tree", item, 9, 26},
        {"a spelling with a trailing backslash and other case", item + L"\\SUB\\", 3, 12},
        {"an empty folder", item + L"\\empty", 0, 0},
        {"a folder link itself: never entered", item + L"\\dirlink", 0, 0},
        {"a folder gone", item + L"\\missing", 0, 0},
        {"a file, not a folder", item + L"\\a.tmp", 0, 0},
    };
    for (const auto& c : cases) {
        std::optional<FolderContents> measured = MeasureFolder(c.folder, guards);
        ASSERT_TRUE(measured) << c.what;
        EXPECT_EQ(measured->items, c.items) << c.what;
        EXPECT_EQ(measured->bytes, c.bytes) << c.what;
    }
    const std::map<std::wstring, Stamp> after = StampsBelow(root.Path());
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [path, stamp] : before) {
        auto found = after.find(path);
        ASSERT_NE(found, after.end()) << std::string(path.begin(), path.end());
        EXPECT_TRUE(found->second == stamp) << std::string(path.begin(), path.end());
    }
}

TEST_F(MeasuredTree, WhatAPolicyExcludesIsNotCountedAndAStopGivesNoAnswer) {
    RemovalGuards guards = MachineGuards();
    ASSERT_EQ(guards.excluded.Add(item + L"\\sub"), PathExclusions::Added::Resolved);
    std::optional<FolderContents> measured = MeasureFolder(item, guards);
    ASSERT_TRUE(measured);
    EXPECT_EQ(measured->items, 5u);  // sub, its files and deep stay out
    EXPECT_EQ(measured->bytes, 14u);
    std::atomic<bool> stop{true};
    EXPECT_FALSE(MeasureFolder(item, guards, &stop));
}

TEST_F(MeasuredTree, AListingsFolderRowsAreMeasuredOnceAndCountWithTheirContents) {
    FoundItems items;
    WIN32_FIND_DATAW file{}, folder{};
    file.nFileSizeLow = 40;
    folder.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    items.Add(FoundItems::MakeItem(root / L"loose.tmp", file, 0));
    items.Add(FoundItems::MakeItem(item, folder, 0));
    EXPECT_EQ(items.UnmeasuredFolders().size(), 1u);
    const ItemAmount unmeasured = items.AmountAt(1);
    EXPECT_EQ(unmeasured.items, 1u);
    EXPECT_EQ(unmeasured.bytes, 0u);
    EXPECT_EQ(unmeasured.measuring, 1u);
    MeasureFolderRows(items);
    EXPECT_TRUE(items.UnmeasuredFolders().empty());
    ItemAmount total = items.AmountAt(0);
    total += items.AmountAt(1);
    EXPECT_EQ(total.items, 11u);  // the file, the folder and its 9
    EXPECT_EQ(total.bytes, 66u);
    EXPECT_EQ(total.measuring, 0u);
}
