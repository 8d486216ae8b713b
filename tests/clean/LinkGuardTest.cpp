// Canary files outside an item, reached from inside it through links: no
// removal, permanent or to the Recycle Bin, may touch them or the links.
#include <gtest/gtest.h>

#include <optional>

#include "clean/CleanJob.h"
#include "clean/DeleteItem.h"
#include "clean/FolderRemoval.h"
#include "clean/HeldEntry.h"
#include "item/FolderHandle.h"
#include "item/Links.h"
#include "clean/Recycle.h"
#include "CleanTestSupport.h"

using namespace testing_support;
using clean_test::MakeLink;

namespace {
// outside\dir\canary.txt, outside\file-canary.txt and outside\deep\canary.txt,
// and an item folder that reaches them through links at three depths.
class LinkedItem : public ::testing::Test {
protected:
    void SetUp() override {
        outside = root / L"outside";
        item = root / L"item";
        MakeFolders(outside + L"\\dir");
        MakeFolders(outside + L"\\deep");
        WriteFileBytes(outside + L"\\dir\\canary.txt", "canary");
        WriteFileBytes(outside + L"\\file-canary.txt", "canary");
        WriteFileBytes(outside + L"\\deep\\canary.txt", "canary");
        MakeFolders(item + L"\\plain\\sub");
        MakeFolders(item + L"\\a\\b");
        WriteFileBytes(item + L"\\plain\\sub\\junk.tmp", "x");
        WriteFileBytes(item + L"\\junk.tmp", "x");
        WriteFileBytes(item + L"\\a\\junk.tmp", "x");
        ASSERT_TRUE(MakeLink(item + L"\\dirlink", outside + L"\\dir", true));
        ASSERT_TRUE(MakeLink(item + L"\\filelink.txt", outside + L"\\file-canary.txt", false));
        ASSERT_TRUE(MakeLink(item + L"\\a\\b\\deeplink", outside + L"\\deep", true));
    }

    void ExpectCanariesAlive() {
        EXPECT_EQ(ReadFileBytes(outside + L"\\dir\\canary.txt"), "canary");
        EXPECT_EQ(ReadFileBytes(outside + L"\\file-canary.txt"), "canary");
        EXPECT_EQ(ReadFileBytes(outside + L"\\deep\\canary.txt"), "canary");
        EXPECT_TRUE(Exists(outside + L"\\dir"));
        EXPECT_TRUE(Exists(outside + L"\\deep"));
    }

    void ExpectLinksInPlace() {
        EXPECT_TRUE(Exists(item + L"\\dirlink"));
        EXPECT_TRUE(Exists(item + L"\\filelink.txt"));
        EXPECT_TRUE(Exists(item + L"\\a\\b\\deeplink"));
    }

    ScratchFolder root{L"links"};
    std::wstring outside, item;
};
}  // namespace

TEST_F(LinkedItem, LinksOfEveryKindAreSeen) {
    EXPECT_TRUE(IsLinkPath(item + L"\\dirlink"));
    EXPECT_TRUE(IsLinkPath(item + L"\\filelink.txt"));
    EXPECT_TRUE(IsLinkPath(item + L"\\a\\b\\deeplink"));
    EXPECT_FALSE(IsLinkPath(item + L"\\junk.tmp"));
    EXPECT_FALSE(IsLinkPath(item + L"\\plain"));
    EXPECT_TRUE(TreeHoldsLink(item));
    EXPECT_TRUE(TreeHoldsLink(item + L"\\a"));
    EXPECT_FALSE(TreeHoldsLink(item + L"\\plain"));
}

TEST_F(LinkedItem, APermanentCleanOfTheFolderLeavesLinksAndTheFoldersHoldingThem) {
    RemoveRowItem(item, true);
    ExpectCanariesAlive();
    ExpectLinksInPlace();
    EXPECT_FALSE(Exists(item + L"\\junk.tmp"));
    EXPECT_FALSE(Exists(item + L"\\a\\junk.tmp"));
    EXPECT_FALSE(Exists(item + L"\\plain"));  // held no link: gone with its contents
}

TEST_F(LinkedItem, ARecycleBinCleanOfTheFolderLeavesItWhole) {
    RemoveRowItem(item, false);
    ExpectCanariesAlive();
    ExpectLinksInPlace();
    EXPECT_TRUE(Exists(item + L"\\junk.tmp"));
    // A part of it without links goes as usual.
    RemoveRowItem(item + L"\\plain", false);
    EXPECT_FALSE(Exists(item + L"\\plain"));
}

TEST_F(LinkedItem, ItemsThatAreThemselvesLinksStayInBothModes) {
    for (bool permanent : {true, false}) {
        RemoveRowItem(item + L"\\dirlink", permanent);
        RemoveRowItem(item + L"\\filelink.txt", permanent);
        RemoveRowItem(item + L"\\a\\b\\deeplink", permanent);
        EXPECT_FALSE(DeleteFoundItem(item + L"\\filelink.txt", permanent));
        ExpectCanariesAlive();
        ExpectLinksInPlace();
    }
}

TEST_F(LinkedItem, AnItemReachedThroughALinkedFolderIsLeft) {
    // The row's path runs through the link: what it names lies outside.
    EXPECT_TRUE(IsLinkPath(item + L"\\dirlink\\canary.txt"));
    for (bool permanent : {true, false}) {
        RemoveRowItem(item + L"\\dirlink\\canary.txt", permanent);
        RemoveRowItem(item + L"\\a\\b\\deeplink\\..\\deeplink", permanent);
    }
    ExpectCanariesAlive();
}

// A held folder whose name is swapped for a link after the checks, the way a
// racing process would do it between the hold and the removal: neither the
// Recycle Bin move (a rename through the handle first) nor the removal for
// good may move or empty the link's target, and the real folder keeps its
// contents under the name it was moved to.
TEST(SwapAfterHold, TheLinksTargetStaysWhereItIs) {
    if (!clean_test::UnderWine()) GTEST_SKIP() << "the swap is made by the host, past Windows' sharing";
    struct Case {
        const char* name;
        bool permanent;
    };
    for (const Case& c : {Case{"Recycle Bin", false}, Case{"for good", true}}) {
        SCOPED_TRACE(c.name);
        ScratchFolder root{L"swap-after-hold"};
        const std::wstring held = root / L"held", moved = root / L"moved", target = root / L"target";
        MakeFolders(held);
        MakeFolders(target);
        WriteFileBytes(held + L"\\junk.tmp", "junk");
        WriteFileBytes(target + L"\\canary.txt", "canary");
        std::optional<CanonicalItem> item = CanonicalItemPath(held);
        ASSERT_TRUE(item);
        std::optional<HeldEntry> entry = HoldItem(*item, RemovalContext{MachineGuards(), SilentReport()});
        ASSERT_TRUE(entry);
        ASSERT_TRUE(clean_test::RunHostCommand(L"mv", L"mv \"" + clean_test::Widen(clean_test::UnixPathOf(held)) +
                                                          L"\" \"" + clean_test::Widen(clean_test::UnixPathOf(moved)) + L"\""));
        ASSERT_TRUE(WaitUntil([&] { return Exists(moved); }, 10000));
        ASSERT_TRUE(MakeLink(held, target, true));
        const RemovalContext removal{MachineGuards(), SilentReport()};
        if (c.permanent) RemoveHeldTree(std::move(*entry), removal);
        else RecycleHeld(std::move(*entry), removal, EntryAmount{1, 4});
        EXPECT_EQ(ReadFileBytes(target + L"\\canary.txt"), "canary");
        if (!c.permanent) {
            EXPECT_EQ(ReadFileBytes(moved + L"\\junk.tmp"), "junk");  // its move failed its checks
        }
    }
}

// Paths resolved earlier are remembered by their folders' spellings; a folder
// swapped for a link since is still found to lead elsewhere, whether only
// the last item's folder is remembered or, during a scan, every folder on
// the way.
TEST(ResolvedFolders, AFolderSwappedForALinkSinceItWasResolvedLeadsElsewhere) {
    struct Case {
        const char* name;
        bool keepAll;           // a CResolvedFoldersKept lives meanwhile
        const wchar_t* before;  // resolved before the swap, below the swapped folder
        bool checked = false;   // the folder itself was kept as a scan's check keeps it
    };
    const Case cases[] = {
        {"its own folder, last item's folder kept", false, L"x.tmp"},
        {"its own folder, every folder kept", true, L"x.tmp"},
        {"a folder further up, every folder kept", true, L"deeper\\x.tmp"},
        {"its own folder, kept from a check", true, L"x.tmp", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder root{L"resolved-swap"};
        const std::wstring swapped = root / L"swapped", target = root / L"target";
        MakeFolders(swapped + L"\\deeper");
        MakeFolders(target);
        WriteFileBytes(swapped + L"\\deeper\\x.tmp", "x");
        WriteFileBytes(swapped + L"\\x.tmp", "x");
        WriteFileBytes(swapped + L"\\y.tmp", "y");
        WriteFileBytes(target + L"\\y.tmp", "canary");
        std::optional<CResolvedFoldersKept> kept;
        if (c.keepAll) kept.emplace();
        if (c.checked) KeepResolvedFolder(swapped, FinalPathOf(swapped));
        std::optional<CanonicalItem> before = CanonicalItemPath(swapped + L"\\" + c.before);
        ASSERT_TRUE(before && before->exists);
        ASSERT_TRUE(::MoveFileW(swapped.c_str(), (root / L"moved").c_str()));
        ASSERT_TRUE(MakeLink(swapped, target, true));
        EXPECT_TRUE(IsLinkPath(swapped + L"\\y.tmp"));
        clean_test::RemoveLink(swapped, true);
    }
}

// A folder a scan checked is kept with its final path: each path below it,
// in any spelling, resolves in the file system's letter case, and only while
// a scan keeps folders.
TEST(ResolvedFolders, AFolderKeptFromACheckResolvesThePathsBelowItAsTheyAre) {
    ScratchFolder root{L"resolved-checked"};
    MakeFolders(root / L"Mixed Case\\Inner");
    WriteFileBytes(root / L"Mixed Case\\Inner\\file.tmp", "x");
    const std::wstring expected = CanonicalItemPath(root / L"Mixed Case\\Inner\\file.tmp")->path;
    for (bool keepAll : {false, true}) {
        std::optional<CResolvedFoldersKept> kept;
        if (keepAll) kept.emplace();
        KeepResolvedFolder(root / L"mixed case", FinalPathOf(root / L"Mixed Case"));
        for (const wchar_t* spelling : {L"mixed case\\inner\\FILE.tmp", L"MIXED CASE\\Inner\\file.tmp",
                                        L"mixed case\\.\\inner\\..\\Inner\\file.tmp"}) {
            std::optional<CanonicalItem> item = CanonicalItemPath(root / spelling);
            ASSERT_TRUE(item && item->exists) << spelling;
            EXPECT_TRUE(SamePathText(item->path, expected)) << spelling;
            EXPECT_EQ(item->path.substr(0, item->path.rfind(L'\\')), expected.substr(0, expected.rfind(L'\\')))
                << spelling << (keepAll ? " kept" : "");
        }
    }
}

// Only a path the platform's final path would read the same is plain:
// anything the platform reads otherwise must be resolved step by step.
TEST(PlainFullPath, OnlyASpellingTheFinalPathWouldReadTheSameIsPlain) {
    const struct {
        const wchar_t* spelling;
        bool plain;
    } cases[] = {
        {L"C:\\Users\\Me\\AppData", true},   {L"c:\\a b\\c.d\\ e", true},       {L"C:\\", false},
        {L"C:\\a\\", false},                 {L"C:\\a\\\\b", false},            {L"C:/a", false},
        {L"C:\\a/b", false},                 {L"C:\\a\\.", false},              {L"C:\\a\\..\\b", false},
        {L"C:\\a.\\b", false},               {L"C:\\a \\b", false},             {L"C:\\PROGRA~1\\x", false},
        {L"C:\\a\\con", false},              {L"C:\\a\\nul.txt\\b", false},     {L"C:\\a\\b:stream", false},
        {L"C:\\a*\\b", false},               {L"C:\\a?", false},                {L"\\\\server\\share\\a", false},
        {L"\\\\?\\C:\\a", false},            {L"\\??\\C:\\a", false},           {L"a\\b", false},
        {L"C:a\\b", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsPlainFullPath(c.spelling), c.plain) << c.spelling;
}

// One open takes a folder as spelled only when it leads straight there:
// a link at or above it, another spelling, a file or a missing folder is
// left to be resolved step by step.
TEST(FolderAsSpelled, OnlyAFolderThePlainSpellingLeadsStraightToIsOpened) {
    ScratchFolder root{L"as-spelled"};
    MakeFolders(root / L"Mixed Case\\Inner");
    MakeFolders(root / L"target\\Inner");
    WriteFileBytes(root / L"Mixed Case\\file.tmp", "x");
    ASSERT_TRUE(MakeLink(root / L"link", root / L"target", true));
    const struct {
        const wchar_t* spelling;
        const wchar_t* canonical;  // nothing: not opened as spelled
    } cases[] = {
        {L"Mixed Case\\Inner", L"Mixed Case\\Inner"},
        {L"MIXED CASE\\inner", L"Mixed Case\\Inner"},
        {L"link", nullptr},
        {L"link\\Inner", nullptr},
        {L"Mixed Case\\file.tmp", nullptr},
        {L"Mixed Case\\missing", nullptr},
        {L"Mixed Case\\..\\Mixed Case\\Inner", nullptr},
        {L"Mixed Case.\\Inner", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spelling);
        std::optional<FolderAsSpelled> opened = OpenFolderAsSpelled(root / c.spelling);
        if (!c.canonical) {
            EXPECT_FALSE(opened);
            continue;
        }
        ASSERT_TRUE(opened);
        EXPECT_TRUE(opened->handle);
        EXPECT_EQ(opened->canonical, root / c.canonical);
    }
    clean_test::RemoveLink(root / L"link", true);
}
