#include <gtest/gtest.h>

#include "clean/DeleteItem.h"
#include "clean/FolderRemoval.h"
#include "item/FileInUse.h"
#include "CleanTestSupport.h"
#include "win/Text.h"

using namespace testing_support;

namespace {
std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('A' + i % 26);
    return bytes;
}

bool AllZeroFrom(const std::string& bytes, size_t from) {
    return bytes.find_first_not_of('\0', from) == std::string::npos;
}
}  // namespace

TEST(WipeIndexFile, WritesZerosInBlocksOfTenThousandAfterTheHeader) {
    EXPECT_EQ(WipeChunks(64 + 20000), (std::vector<DWORD>{10000, 10000}));
    EXPECT_EQ(WipeChunks(64 + 10001), (std::vector<DWORD>{10000, 1}));
    EXPECT_TRUE(WipeChunks(64).empty());
    EXPECT_TRUE(WipeChunks(10).empty());

    ScratchFolder folder(L"wipe");
    for (size_t size : {size_t{64 + 10001}, size_t{64}, size_t{30}}) {
        std::wstring path = folder / (L"index-" + std::to_wstring(size));
        std::string original = Pattern(size);
        WriteFileBytes(path, original);
        EXPECT_TRUE(WipeIndexFile(path));
        std::string after = ReadFileBytes(path);
        ASSERT_EQ(after.size(), size);  // the file keeps its size
        EXPECT_EQ(after.substr(0, 64), original.substr(0, 64));  // and its header
        EXPECT_TRUE(AllZeroFrom(after, 64));
    }
    EXPECT_FALSE(WipeIndexFile(folder / L"missing"));
}

TEST(IsFileInUse, OnlyAClosedFileIsFreeReadOnlyOrNotAndItStaysUnchanged) {
    ScratchFolder folder(L"inuse");
    std::wstring plain = folder / L"plain.txt", held = folder / L"held.txt", readOnly = folder / L"ro.txt";
    WriteFileBytes(plain, "content");
    WriteFileBytes(held, "x");
    WriteFileBytes(readOnly, "x");
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    WIN32_FILE_ATTRIBUTE_DATA before{}, after{};
    ::GetFileAttributesExW(plain.c_str(), GetFileExInfoStandard, &before);

    EXPECT_FALSE(IsFileInUse(plain));
    ::GetFileAttributesExW(plain.c_str(), GetFileExInfoStandard, &after);
    EXPECT_EQ(ReadFileBytes(plain), "content");
    EXPECT_EQ(::CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);

    ChildProcess holder = HoldFileOpen(held);
    EXPECT_TRUE(IsFileInUse(held));
    EXPECT_FALSE(IsFileInUse(readOnly));
    EXPECT_TRUE(::GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(IsFileInUse(folder / L"missing.txt"));
    EXPECT_TRUE(IsFileInUse(folder.Path()));
    // 260 characters or more are never opened, even when the file is there.
    std::wstring longName = folder.Path() + L"\\" + std::wstring(259 - folder.Path().size() - 1, L'l');
    ASSERT_EQ(longName.size(), 259u);
    WriteFileBytes(longName, "x");
    EXPECT_FALSE(IsFileInUse(longName));
    std::wstring tooLong = longName + L"m";
    WriteFileBytes(L"\\\\?\\" + tooLong, "x");
    EXPECT_TRUE(IsFileInUse(tooLong));
    ::DeleteFileW((L"\\\\?\\" + tooLong).c_str());
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(DeleteFoundItem, OnlyTheLowerCaseIndexDatIsWipedBeforeItsDeletion) {
    ScratchFolder folder(L"index");
    MakeFolders(folder / L"lower");
    MakeFolders(folder / L"upper");
    std::wstring lower = folder / L"lower\\index.dat", upper = folder / L"upper\\Index.dat";
    std::string content = Pattern(64 + 300);
    WriteFileBytes(lower, content);
    WriteFileBytes(upper, content);
    // Held by another process that lets others read and write but not delete.
    ChildProcess holdLower = HoldFileOpen(lower, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ChildProcess holdUpper = HoldFileOpen(upper, FILE_SHARE_READ | FILE_SHARE_WRITE);
    DeleteFoundItem(lower, true);
    DeleteFoundItem(upper, true);
    std::string wiped = ReadFileBytes(lower), kept = ReadFileBytes(upper);
    ASSERT_EQ(wiped.size(), content.size());
    EXPECT_EQ(wiped.substr(0, 64), content.substr(0, 64));
    EXPECT_TRUE(AllZeroFrom(wiped, 64));
    EXPECT_EQ(kept, content);
}

TEST(DeleteFoundItem, IndexDatHeldExclusivelyIsLeftWithoutAHang) {
    ScratchFolder folder(L"indexheld");
    std::wstring index = folder / L"index.dat";
    WriteFileBytes(index, Pattern(200));
    ChildProcess holder = HoldFileOpen(index);
    EXPECT_FALSE(DeleteFoundItem(index, true));
    holder.Kill();
    EXPECT_EQ(ReadFileBytes(index), Pattern(200));
}

TEST(RemoveFolderContents, KeepsFilesInUseWithTheFoldersOnTheirPath) {
    ScratchFolder folder(L"contents");
    std::wstring item = folder / L"Cache";
    MakeFolders(item + L"\\a\\b");
    MakeFolders(item + L"\\empty\\deeper");
    WriteFileBytes(item + L"\\a\\b\\held.dat", "x");
    WriteFileBytes(item + L"\\a\\b\\free.dat", "x");
    WriteFileBytes(item + L"\\a\\other.dat", "x");
    WriteFileBytes(item + L"\\top.dat", "x");
    WriteFileBytes(item + L"\\Top.DAT.bak", "x");
    ChildProcess holder = HoldFileOpen(item + L"\\a\\b\\held.dat");

    EXPECT_TRUE(RemoveFolderContents(item));
    EXPECT_TRUE(Exists(item + L"\\a\\b\\held.dat"));
    EXPECT_FALSE(Exists(item + L"\\a\\b\\free.dat"));
    EXPECT_FALSE(Exists(item + L"\\a\\other.dat"));
    EXPECT_FALSE(Exists(item + L"\\top.dat"));
    EXPECT_FALSE(Exists(item + L"\\Top.DAT.bak"));
    EXPECT_FALSE(Exists(item + L"\\empty"));
    EXPECT_TRUE(Exists(item));  // the item's own folder stays with this pass
    holder.Kill();
    EXPECT_TRUE(RemoveFolderTree(item));
    EXPECT_FALSE(Exists(item));
}

namespace {
// Wine's shell looks for its trash once per process and, finding none,
// deletes for good; make its folder before any test reaches the shell.
class PrefixTrash : public ::testing::Environment {
public:
    void SetUp() override { clean_test::PrefixTrashFolder(); }
};
const ::testing::Environment* const g_prefixTrash = ::testing::AddGlobalTestEnvironment(new PrefixTrash);
}  // namespace

TEST(DeleteFoundItem, ARemovalAloneTakesTheReadOnlyAttributeAndGivesItBackWhenTheItemStays) {
    ScratchFolder folder(L"readonly");
    const DWORD readOnly = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    const struct {
        const wchar_t* item;    // the row, below the scratch folder
        const wchar_t* file;    // the read-only file of it
        bool permanent;
        bool held;
    } cases[] = {
        {L"file.tmp", L"file.tmp", true, false},
        {L"recycled.tmp", L"recycled.tmp", false, false},
        {L"heldfile.tmp", L"heldfile.tmp", true, true},
        {L"tree", L"tree\\sub\\f.log", true, false},
        {L"heldtree", L"heldtree\\sub\\f.log", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(win::ToNarrow(c.item));
        std::wstring file = folder / c.file;
        MakeFolders(file.substr(0, file.rfind(L'\\')));
        WriteFileBytes(file, "x");
        ASSERT_TRUE(::SetFileAttributesW(file.c_str(), readOnly));
        ChildProcess holder;
        if (c.held) holder = HoldFileOpen(file);
        bool folderRow = std::wstring(c.item) != c.file;
        DeleteFoundItem(folder / c.item, c.permanent);
        EXPECT_EQ(Exists(file), c.held);
        if (c.held) {
            EXPECT_EQ(::GetFileAttributesW(file.c_str()) & readOnly, readOnly);
        }
        if (folderRow) {
            EXPECT_EQ(Exists(folder / c.item), c.held);
        }
        holder.Kill();
        holder.Wait(5000);
        ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}
