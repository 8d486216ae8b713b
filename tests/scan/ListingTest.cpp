// What the listing lets through: an item its walk has already checked
// (canonical, no link, a file found free) gets the verdict the full test gives.
#include <gtest/gtest.h>

#include <string>

#include "item/ItemPath.h"
#include "scan/Listing.h"
#include "support/TestSupport.h"
#include "win/Path.h"

using namespace testing_support;

TEST(Listing, ACheckedItemGetsTheVerdictOfTheFullTest) {
    ScratchFolder root{L"listing"};
    MakeFolders(root / L"Junk");
    WriteFileBytes(root / L"Junk\\free.tmp", "x");
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring canonicalWindows = CanonicalItemPath(windows)->path;
    const std::wstring longName = root / (L"Junk\\" + std::wstring(MAX_PATH, L'n') + L".tmp");
    const struct {
        std::wstring path;
        bool folder;
        bool listable;
    } cases[] = {
        {canonicalWindows, true, false},                          // a protected folder
        {canonicalWindows.substr(0, 3), true, false},             // a volume root
        {CanonicalItemPath(root / L"Junk")->path, true, true},    // a plain folder
        {CanonicalItemPath(root / L"Junk\\free.tmp")->path, false, true},
        {longName, false, false},                                 // beyond what the clean reaches by path
        {L"HKCU\\Software\\Brisko Listing Test", false, true},   // a registry row
    };
    for (const auto& c : cases) {
        WIN32_FIND_DATAW entry{};
        entry.dwFileAttributes = c.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        EXPECT_EQ(IsListable(c.path, entry, false), c.listable) << c.path;
        EXPECT_EQ(IsListable(c.path, entry, true), c.listable) << c.path;
    }
}
