// Every spelling of an item reaches the same guards. Canaries lie outside the
// item, reached from inside it through links; after any clean they are
// intact, the links are in place, and everything that could go is gone (for a
// system folder: what it holds, never the folder).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "clean/CleanJob.h"
#include "clean/DeleteItem.h"
#include "clean/FolderRemoval.h"
#include "item/ItemPath.h"
#include "CleanTestSupport.h"
#include "win/Path.h"

using namespace testing_support;
using clean_test::MakeLink;

namespace {

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to, size_t start = 0) {
    for (size_t at = text.find(from, start); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::wstring ShortSpelling(const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = {};
    DWORD n = ::GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : path;
}

struct Spelling {
    const char* name;
    bool deep;  // the item lies so deep that its path has over 260 characters
    std::function<std::wstring(const std::wstring&)> spell;
};

const Spelling kSpellings[] = {
    {"trailing backslash", false, [](const std::wstring& p) { return p + L"\\"; }},
    {"doubled backslashes", false, [](const std::wstring& p) { return ReplaceAll(p, L"\\", L"\\\\", 3); }},
    {"dot steps", false,
     [](const std::wstring& p) {
         std::wstring name = p.substr(p.rfind(L'\\') + 1);
         return ParentOf(p) + L"\\.\\" + name + L"\\..\\" + name + L"\\.";
     }},
    {"short name", false, ShortSpelling},
    {"letter case", false,
     [](std::wstring p) {
         for (wchar_t& c : p) c = towupper(c);
         return p;
     }},
    {"forward slashes", false, [](const std::wstring& p) { return ReplaceAll(p, L"\\", L"/"); }},
    {"long prefix", false, [](const std::wstring& p) { return L"\\\\?\\" + p; }},
    {"over 260 characters", true, [](const std::wstring& p) { return p; }},
};

// Where the link lies in the item, and the entry of the item that holds it.
struct LinkPlace {
    const char* name;
    const wchar_t* link;    // relative to the item; none for an item without links
    const wchar_t* holder;  // the item's own entry on the way to the link
    bool toFile;
};

const LinkPlace kLinkPlaces[] = {
    {"no link", nullptr, L"", false},
    {"folder link at the top", L"dirlink", L"dirlink", false},
    {"folder link inside", L"sub\\dirlink", L"sub", false},
    {"folder link nested deeper", L"a\\b\\c\\dirlink", L"a", false},
    {"file link", L"filelink.txt", L"filelink.txt", true},
};

// The item's files, each with the item's own entry that holds it.
const struct {
    const wchar_t* file;
    const wchar_t* top;
} kJunk[] = {{L"junk.tmp", L"junk.tmp"}, {L"plain\\junk.tmp", L"plain"}, {L"sub\\junk.tmp", L"sub"},
             {L"a\\b\\junk.tmp", L"a"}};
const wchar_t* const kSubfolders[] = {L"plain", L"sub", L"a"};

class SpellingCanaries : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFolders(outside / L"dir");
        WriteFileBytes(outside / L"dir\\canary.txt", "canary");
        WriteFileBytes(outside / L"file-canary.txt", "canary");
    }

    // A fresh item below `cell` with its junk and the link of `place`.
    std::wstring MakeItem(const ScratchFolder& cell, bool deep, const LinkPlace& place) {
        std::wstring base = cell.Path();
        if (deep)
            for (int level = 0; level < 5; ++level) base += L"\\deep-folder-of-a-path-longer-than-the-plain-limit";
        std::wstring item = base + L"\\Item Folder Long Name";
        MakeFolders(ApiPath(item + L"\\a\\b\\c"));
        MakeFolders(ApiPath(item + L"\\plain"));
        MakeFolders(ApiPath(item + L"\\sub"));
        for (const auto& junk : kJunk) WriteFileBytes(ApiPath(item + L"\\" + junk.file), "junk");
        if (place.link) {
            std::wstring target = place.toFile ? outside / L"file-canary.txt" : outside / L"dir";
            EXPECT_TRUE(MakeLink(item + L"\\" + place.link, target, !place.toFile)) << place.link;
        }
        return item;
    }

    void ExpectCanariesIntact() {
        EXPECT_EQ(ReadFileBytes(outside / L"dir\\canary.txt"), "canary");
        EXPECT_EQ(ReadFileBytes(outside / L"file-canary.txt"), "canary");
    }

    ScratchFolder outside{L"canaries"};
};

bool ExistsAny(const std::wstring& path) { return Exists(ApiPath(path)); }

}  // namespace

TEST_F(SpellingCanaries, EverySpellingLinkPlaceAndModeKeepsTheCanariesAndRemovesWhatMayGo) {
    for (const Spelling& spelling : kSpellings) {
        for (const LinkPlace& place : kLinkPlaces) {
            for (bool permanent : {true, false}) {
                for (bool systemFolder : {false, true}) {
                    SCOPED_TRACE(std::string(spelling.name) + ", " + place.name + ", " +
                                 (permanent ? "permanent" : "Recycle Bin") + ", " +
                                 (systemFolder ? "system folder" : "ordinary folder"));
                    ScratchFolder cell{L"cell"};
                    std::wstring item = MakeItem(cell, spelling.deep, place);
                    RemovalGuards guards;
                    guards.protectedFolders = MachineGuards().protectedFolders;
                    if (systemFolder) guards.systemFolders.Add(item);

                    RemoveRowItem(spelling.spell(item), permanent, RemovalContext{guards, SilentReport()});

                    ExpectCanariesIntact();
                    if (place.link) {
                        EXPECT_TRUE(ExistsAny(item + L"\\" + place.link));
                    }
                    // A folder with a link in its tree goes to the Recycle Bin
                    // only in the parts that hold none, and only when it is a
                    // system folder; an ordinary one then stays whole.
                    bool partsGo = permanent || systemFolder || !place.link;
                    bool wholeGoes = !systemFolder && !place.link;
                    EXPECT_EQ(ExistsAny(item), !wholeGoes);
                    for (const auto& junk : kJunk) {
                        bool gone = partsGo && (permanent || junk.top != std::wstring(place.holder));
                        EXPECT_EQ(ExistsAny(item + L"\\" + junk.file), !gone) << junk.file;
                    }
                    for (const wchar_t* folder : kSubfolders)
                        EXPECT_EQ(ExistsAny(item + L"\\" + folder), !partsGo || folder == std::wstring(place.holder))
                            << folder;
                }
            }
        }
    }
}

TEST_F(SpellingCanaries, AProtectedFolderInAnySpellingIsRefused) {
    ScratchFolder cell{L"protected"};
    std::wstring folder = MakeItem(cell, false, kLinkPlaces[0]);
    RemovalGuards guards;
    guards.protectedFolders.Add(folder);
    RemovalContext removal{guards, SilentReport()};
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    for (const Spelling& spelling : kSpellings) {
        if (spelling.deep) continue;
        SCOPED_TRACE(spelling.name);
        for (bool permanent : {true, false}) {
            EXPECT_FALSE(DeleteFoundItem(spelling.spell(folder), permanent, removal));
            RemoveFolderContents(spelling.spell(folder), removal);
        }
        for (const auto& junk : kJunk) EXPECT_TRUE(Exists(folder + L"\\" + junk.file));
        EXPECT_TRUE(IsProtectedOnThisMachine(spelling.spell(windows)));
        EXPECT_TRUE(IsProtectedOnThisMachine(spelling.spell(std::wstring(windows) + L"\\System32")));
    }
}

TEST(CanonicalItemPath, SpellingsThatLeadNowhereCertainAreNotResolved) {
    ScratchFolder folder{L"canonical"};
    WriteFileBytes(folder / L"file.txt", "x");
    for (const std::wstring& spelling :
         {std::wstring(L"relative\\path"), std::wstring(L"C:relative"), folder / L"*.txt", folder / L"fil?.txt",
          folder / L"file.txt:stream", folder / L"missing\\file.txt", folder / L"file.txt\\below", folder / L"NUL",
          folder / L"con.txt", folder / L"Com1", std::wstring()})
        EXPECT_FALSE(CanonicalItemPath(spelling).has_value()) << spelling;
    std::optional<CanonicalItem> missing = CanonicalItemPath(folder / L"missing.txt");
    ASSERT_TRUE(missing.has_value());
    EXPECT_FALSE(missing->exists);
    EXPECT_EQ(CanonicalItemPath(L"c:\\")->path, L"C:\\");
}
