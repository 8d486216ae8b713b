#include <gtest/gtest.h>

#include "catalog/BriskoDoc.h"
#include "support/FakeMachine.h"

namespace {
// A fake machine that also records which special folders were asked for.
class FakeSystem : public testing_support::FakeMachine {
public:
    FakeSystem() { environment = {{L"ALLUSERSPROFILE", L"C:\\ProgramData"}}; }
    mutable std::vector<int> asked;
    std::wstring SpecialFolder(int csidl) const override {
        asked.push_back(csidl);
        return FakeMachine::SpecialFolder(csidl);
    }
};

std::vector<std::wstring> Texts(const CTargetList& list) { return {list.begin(), list.end()}; }
}  // namespace

TEST(Catalogue, BaseFoldersComeFromTheMachineInTheirOrder) {
    FakeSystem system;
    system.windows = L"D:\\WINNT";
    system.folders = {{26, L"D:\\u\\Roaming"}, {38, L"D:\\Program Files"}, {28, L"D:\\u\\Local"},
                      {13, L"D:\\u\\Music"},   {32, L"D:\\u\\INetCache"}};
    CBriskoDoc doc(system);
    EXPECT_EQ(doc.m_szWindowsDir, L"D:\\WINNT");
    EXPECT_EQ(doc.m_szSystemDrive, L"D:");
    EXPECT_EQ(doc.m_strAllUsersProfile, L"C:\\ProgramData");
    EXPECT_EQ(doc.m_szAppData, L"D:\\u\\Roaming");
    EXPECT_EQ(doc.m_szProgramFiles, L"D:\\Program Files");
    EXPECT_EQ(doc.m_szLocalAppData, L"D:\\u\\Local");
    EXPECT_EQ(doc.m_szMyMusic, L"D:\\u\\Music");
    EXPECT_EQ(doc.m_szInternetCache, L"D:\\u\\INetCache");
    ASSERT_GE(system.asked.size(), 5u);
    EXPECT_EQ(std::vector<int>(system.asked.begin(), system.asked.begin() + 5), (std::vector<int>{26, 38, 28, 13, 32}));
    EXPECT_EQ(doc.m_strAllFiles, L"*.*");
}

TEST(Catalogue, MissingEnvironmentAndFoldersLeaveEmptyBasesAndLongWindowsFoldersStayWhole) {
    FakeSystem system;
    system.environment.clear();
    system.windows = L"C:\\" + std::wstring(140, L'w');
    CBriskoDoc doc(system);
    EXPECT_EQ(doc.m_strAllUsersProfile, L"");
    EXPECT_EQ(doc.m_szAppData, L"");
    EXPECT_EQ(doc.m_szWindowsDir, system.windows);  // never cut into the name of another folder
    EXPECT_EQ(doc.m_szSystemDrive, L"C:");
}

TEST(Catalogue, TheCollectionsOfTheOtherModesHoldTheirTargetsInOrder) {
    FakeSystem system;
    CBriskoDoc doc(system);
    EXPECT_EQ(Texts(doc.m_listDriveRootTempItems), (std::vector<std::wstring>{L"msdownld.tmp", L"Wininst0.400"}));
    ASSERT_EQ(doc.m_listWindowsTempFolders.size(), 6u);
    EXPECT_STREQ(doc.m_listWindowsTempFolders.back(), L"WinSxS\\InstallTemp");
    ASSERT_EQ(doc.m_listLocalAppDataFolders.size(), 5u);
    EXPECT_STREQ(doc.m_listLocalAppDataFolders.back(), L"..\\LocalLow\\Microsoft\\CryptnetUrlCache");
    EXPECT_EQ(Texts(doc.m_listRealPlayerFolders), (std::vector<std::wstring>{L"Real\\RealOne Player", L"Real\\RealPlayer"}));
}

TEST(Catalogue, TheRealMachineGivesAWindowsFolderAndItsDrive) {
    CBriskoDoc doc;
    ASSERT_GE(doc.m_szWindowsDir.size(), 3u);
    EXPECT_EQ(doc.m_szSystemDrive, doc.m_szWindowsDir.substr(0, 2));
    EXPECT_FALSE(doc.m_szAppData.empty());
}

TEST(Catalogue, TheRegistryListsHoldTheirKeysInRemovalOrder) {
    FakeSystem system;
    CBriskoDoc doc(system);
    EXPECT_EQ(doc.m_listRunHistoryKeys.size(), 2u);
    ASSERT_EQ(doc.m_listFindHistoryKeys.size(), 7u);
    ASSERT_EQ(doc.m_listRecentDocKeys.size(), 16u);
    // The three Explorer Bars keys share one class identifier.
    auto key = doc.m_listFindHistoryKeys.begin();
    for (int i = 0; i < 3; ++i, ++key)
        EXPECT_NE(std::wstring(*key).find(L"{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}"), std::wstring::npos);
    std::vector<std::wstring> recent = Texts(doc.m_listRecentDocKeys);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(recent[5 + i], L"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips" +
                                     std::to_wstring(i + 1));
    EXPECT_EQ(doc.m_strTypedURLsKey, L"Software\\Microsoft\\Internet Explorer\\TypedURLs");
}
