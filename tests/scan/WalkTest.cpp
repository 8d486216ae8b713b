#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/Discovery.h"
#include "scan/Walk.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "tests/scan/RootItems.h"

using namespace testing_support;

namespace {
std::vector<std::wstring> Walked(const std::wstring& pattern, const std::wstring& folder,
                                 const std::wstring& excluded = L"") {
    RecordingSink sink;
    WalkFolder(sink, pattern, folder, excluded);
    return sink.Paths();
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

void Seed(const ScratchFolder& s, std::initializer_list<const wchar_t*> entries) {
    for (const wchar_t* entry : entries) {
        std::wstring path = s / entry;
        if (path.back() == L'\\') MakeFolders(path.substr(0, path.size() - 1));
        else {
            MakeFolders(path.substr(0, path.rfind(L'\\')));
            WriteFileBytes(path, "data");
        }
    }
}
}  // namespace

TEST(WalkFolder, PatternsFollowThePlatformWildcardRules) {
    ScratchFolder s;
    Seed(s, {L"x.log", L"x.log.1", L"Y.LOG", L"cookies", L"NoDot", L"Readme.TXT", L"sub\\", L"keep.dat"});
    // "*.*" matches every name, with or without a dot, folders too, but never "." or "..".
    EXPECT_EQ(Sorted(Walked(L"*.*", s.Path())),
              Sorted({s / L"x.log", s / L"x.log.1", s / L"Y.LOG", s / L"cookies", s / L"NoDot", s / L"Readme.TXT",
                      s / L"sub", s / L"keep.dat"}));
    // A last ".*" also matches names without that dot; matching ignores case.
    EXPECT_EQ(Sorted(Walked(L"*.log.*", s.Path())), Sorted({s / L"x.log", s / L"x.log.1", s / L"Y.LOG"}));
    EXPECT_EQ(Walked(L"cookies.*", s.Path()), (std::vector<std::wstring>{s / L"cookies"}));
    EXPECT_EQ(Walked(L"*.txt", s.Path()), (std::vector<std::wstring>{s / L"Readme.TXT"}));
    EXPECT_EQ(Sorted(Walked(L"*.LOG", s.Path())), Sorted({s / L"x.log", s / L"Y.LOG"}));
    EXPECT_TRUE(Walked(L"*.bak", s.Path()).empty());
}

TEST(WalkFolder, TheFirstEntryIsHandedOnOnlyWhenItIsAFile) {
    ScratchFolder s;
    Seed(s, {L"file\\Cookies", L"folder\\Cookies\\", L"two\\sub1\\", L"two\\sub2\\", L"two\\sub3.txt"});
    EXPECT_EQ(Walked(L"Cookies", s / L"file"), (std::vector<std::wstring>{s / L"file\\Cookies"}));
    // A folder that is the only match of its pattern is the first entry: left out.
    EXPECT_TRUE(Walked(L"Cookies", s / L"folder").empty());
    // Of several matching folders only the first is left out.
    std::vector<std::wstring> two = Walked(L"sub*", s / L"two");
    EXPECT_EQ(two.size(), 2u);
    // With "*.*" the first entry is ".", so every sub-folder is handed on.
    EXPECT_EQ(Walked(L"*.*", s / L"two").size(), 3u);
}

TEST(WalkFolder, ADriveRootHasNoDotEntrySoAFirstMatchingFolderIsLeftOut) {
    ScopedRootItems root;
    root.Add(L"C:\\brisko-walk-1.zzq\\");
    root.Add(L"C:\\brisko-walk-2.zzq\\");
    root.Add(L"C:\\brisko-walk-3.zzq\\");
    // The search's own order decides which folder comes first.
    WIN32_FIND_DATAW first;
    HANDLE find = ::FindFirstFileW(L"C:\\brisko-walk-*.zzq", &first);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    ::FindClose(find);
    std::vector<std::wstring> walked = Walked(L"brisko-walk-*.zzq", L"C:\\");
    EXPECT_EQ(walked.size(), 2u);
    EXPECT_EQ(std::count(walked.begin(), walked.end(), L"C:\\" + std::wstring(first.cFileName)), 0);
}

TEST(WalkFolder, TheExcludedNameIsComparedWholeAndWithCase) {
    ScratchFolder s;
    Seed(s, {L"upper\\MSDTC.LOG", L"upper\\MSDTC.LOG.1", L"upper\\other.log", L"lower\\msdtc.log"});
    EXPECT_EQ(Sorted(Walked(L"*.*", s / L"upper", L"MSDTC.LOG")), Sorted({s / L"upper\\MSDTC.LOG.1", s / L"upper\\other.log"}));
    EXPECT_EQ(Walked(L"*.*", s / L"lower", L"MSDTC.LOG"), (std::vector<std::wstring>{s / L"lower\\msdtc.log"}));
}

TEST(WalkFolder, AMatchKeepsItsReadOnlyAttributeAndItsRecordSaysWhatTheSearchSaw) {
    ScratchFolder s;
    WriteFileBytes(s / L"readme.txt", "12345");
    ASSERT_TRUE(::SetFileAttributesW((s / L"readme.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    RecordingSink sink;
    WalkFolder(sink, L"*.txt", s.Path());
    ASSERT_EQ(sink.items.size(), 1u);
    EXPECT_TRUE(sink.items[0].record.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(sink.items[0].record.nFileSizeLow, 5u);
    const DWORD given = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    EXPECT_EQ(::GetFileAttributesW((s / L"readme.txt").c_str()) & given, given);
}

TEST(WalkFolder, FoldersThatAreNoFullPathOrNoFolderFindNothingWhateverIsCurrent) {
    ScratchFolder s;
    Seed(s, {L"null\\a.tmp", L"Users\\Default\\cookies.txt", L"file.txt", L"b.tmp"});
    std::wstring fromRoot = s.Path().substr(2);  // the same tree as a path from the root of the current drive
    ASSERT_TRUE(::SetCurrentDirectoryW(s.Path().c_str()));
    EXPECT_TRUE(Walked(L"*.tmp", L"null").empty());
    EXPECT_TRUE(Walked(L"*.tmp", L"").empty());
    EXPECT_TRUE(Walked(L"cookies.*", fromRoot + L"\\Users\\Default").empty());
    // A path that names a file is no folder: the walk must not fall back on the current directory.
    EXPECT_TRUE(Walked(L"*.tmp", s / L"file.txt").empty());
    EXPECT_TRUE(Walked(L"*.tmp", std::wstring(300, L'x')).empty());
    EXPECT_TRUE(Walked(L"*.*", s.Path() + L"\\" + std::wstring(270, L'y')).empty());
    RecordingSink sink;
    AddNamedItem(sink, L"null", L"a.tmp");
    AddNamedItem(sink, L"", fromRoot.substr(1) + L"\\b.tmp");
    AddFolderItem(sink, L"null\\");
    EXPECT_TRUE(sink.items.empty());
}

TEST(AddNamedItem, HandsOnTheCanonicalPathOfAnExistingFileOrFolder) {
    ScratchFolder s;
    Seed(s, {L"Local\\Apps\\", L"LocalLow\\Microsoft\\CryptnetUrlCache\\", L"Windows\\Temp\\", L"Windows\\a.tmp"});
    RecordingSink sink;
    AddNamedItem(sink, s / L"Local", L"..\\LocalLow\\Microsoft\\CryptnetUrlCache");
    AddNamedItem(sink, s / L"Windows", L"Temp\\");
    AddNamedItem(sink, s / L"Windows", L"a.tmp");
    AddNamedItem(sink, s / L"Windows", L"missing");
    ASSERT_EQ(sink.Paths(), (std::vector<std::wstring>{s / L"LocalLow\\Microsoft\\CryptnetUrlCache",
                                                       s / L"Windows\\Temp\\", s / L"Windows\\a.tmp"}));
    EXPECT_TRUE(sink.items[0].record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(sink.items[1].record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(sink.items[2].record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(sink.items[2].record.nFileSizeLow, 4u);
}

TEST(AddFolderItem, HandsOnAnExistingFolderButNeverADriveRoot) {
    ScratchFolder s;
    MakeFolders(s / L"Temp");
    RecordingSink sink;
    AddFolderItem(sink, s / L"Temp\\");
    AddFolderItem(sink, s / L"Missing\\");
    AddFolderItem(sink, L"C:\\");
    AddFolderItem(sink, L"C:");
    ASSERT_EQ(sink.Paths(), (std::vector<std::wstring>{s / L"Temp\\"}));
    EXPECT_TRUE(sink.items[0].record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(AppendFirstMatch, AppendsTheFirstMatchOrANameThatCanNeverExist) {
    ScratchFolder s;
    Seed(s, {L"found\\abcd.slt\\", L"none\\cookies.txt", L"none\\other\\"});
    std::wstring path = s / L"found";
    AppendFirstMatch(path, L"*.slt");
    EXPECT_EQ(path, s / L"found\\abcd.slt");

    // Nothing matches: walks below the result find nothing, not even the
    // cookies of the folder it started from.
    path = s / L"none";
    AppendFirstMatch(path, L"*.slt");
    EXPECT_EQ(path, s / L"none\\*.slt");
    EXPECT_TRUE(Walked(L"cookies.*", path).empty());
    RecordingSink sink;
    AddNamedItem(sink, path, L"..\\cookies.txt");
    EXPECT_TRUE(sink.items.empty());

    path = s / L"missing";
    AppendFirstMatch(path, L"Opera*.*");
    EXPECT_EQ(path, s / L"missing\\Opera*.*");
}
