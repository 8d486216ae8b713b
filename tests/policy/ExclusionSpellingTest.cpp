// An excluded path written in any spelling of the same local place keeps
// that place: device and UNC forms of the drive, a link to it, its short
// name, a stream suffix; and one that names no local place is told.
#include <gtest/gtest.h>
#include <windows.h>

#include "clean/CleanTestSupport.h"
#include "win/LocalSpelling.h"
#include "item/PathExclusions.h"
#include "policy/Policies.h"
#include "support/ScopedRegistry.h"
#include "support/TestSupport.h"

using namespace testing_support;
using clean_test::MakeLink;
using clean_test::RemoveLink;

namespace {

std::wstring ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ::GetComputerNameW(name, &size);
    return name;
}

}  // namespace

TEST(ExclusionSpellings, EverySpellingOfALocalPlaceKeepsItAndNothingElse) {
    ScratchFolder scratch{L"exclusion-spellings"};
    const std::wstring kept = scratch / L"KeepingThisFolder";
    MakeFolders(kept);
    WriteFileBytes(kept + L"\\kept.txt", "x");
    MakeFolders(scratch / L"Other");
    WriteFileBytes(scratch / L"Other\\gone.txt", "x");
    wchar_t shortName[MAX_PATH] = {};
    ::GetShortPathNameW(kept.c_str(), shortName, MAX_PATH);
    ASSERT_NE(std::wstring(shortName), kept) << "the file system gives no short name";
    const bool linked = MakeLink(scratch / L"door", kept, true);
    const std::wstring drive = kept.substr(0, 1), rest = kept.substr(2);  // "D" and "\...\KeepingThisFolder"
    const struct {
        std::wstring spelling;
        bool needsLink = false;
    } cases[] = {
        {kept},
        {L"\\\\?\\" + kept},
        {L"\\\\.\\" + kept},
        {L"\\\\localhost\\" + drive + L"$" + rest},
        {L"\\\\127.0.0.1\\" + drive + L"$" + rest + L"\\"},
        {L"\\\\" + ComputerName() + L"\\" + drive + L"$" + rest},
        {L"\\\\?\\UNC\\localhost\\" + drive + L"$" + rest},
        {L"//localhost/" + drive + L"$" + rest},
        {shortName},
        {kept + L"::$INDEX_ALLOCATION"},
        {kept + L"\\kept.txt::$DATA"},
        {L"\\\\localhost\\" + drive + L"$" + rest + L"\\kept.txt:Zone.Identifier:$DATA"},
        {L"\\\\.\\" + scratch.Path() + L"\\Keeping*"},
        {scratch / L"door", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spelling);
        if (c.needsLink && !linked) continue;
        PathExclusions excluded;
        EXPECT_EQ(excluded.Add(c.spelling), PathExclusions::Added::Resolved);
        EXPECT_TRUE(excluded.Covers(kept + L"\\kept.txt"));
        EXPECT_FALSE(excluded.Covers(scratch / L"Other\\gone.txt"));
        EXPECT_TRUE(excluded.HoldsExcluded(scratch.Path()));
    }
    if (linked) RemoveLink(scratch / L"door", true);
}

TEST(ExclusionSpellings, AnEntryThatNamesNoLocalPlaceIsToldNeverDroppedSilently) {
    const struct {
        std::wstring spelling;
        PathExclusions::Added added;
    } cases[] = {
        {L"\\\\fileserver\\C$\\Data", PathExclusions::Added::Unresolved},
        {L"\\\\localhost\\Shared\\Data", PathExclusions::Added::Unresolved},  // a share, not a drive
        {L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\Data", PathExclusions::Added::Unresolved},
        {L"Data\\keep", PathExclusions::Added::Refused},
        {L"C:Data\\keep", PathExclusions::Added::Refused},
        {L"C:\\Da*\\keep", PathExclusions::Added::Refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spelling);
        PathExclusions excluded;
        EXPECT_EQ(excluded.Add(c.spelling), c.added);
    }
    const std::wstring list = std::wstring(L"\\\\fileserver\\C$\\Data") + L'\0' + L'\0';
    ScopedRegistryValue value(HKEY_LOCAL_MACHINE, kPolicyKey, L"ExcludePaths", REG_MULTI_SZ, list.data(),
                              static_cast<DWORD>(list.size() * sizeof(wchar_t)));
    Policies policies = ReadPolicies();
    ASSERT_EQ(policies.problems.size(), 1u);
    EXPECT_EQ(policies.problems[0], L"policy ExcludePaths (HKEY_LOCAL_MACHINE): \"\\\\fileserver\\C$\\Data\" names no "
                                    L"place on this machine that can be resolved; that entry is ignored");
}
