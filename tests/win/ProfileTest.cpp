#include <gtest/gtest.h>

#include "win/Handle.h"
#include "win/Profile.h"

namespace {
class ProfileTest : public testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"software\\BriskoProfileTest");
        profile.SetRoot(L"BriskoProfileTest", L"Brisko .NET");
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"software\\BriskoProfileTest"); }
    win::CProfile profile;
};
}  // namespace

TEST_F(ProfileTest, EntriesLiveBelowTheApplicationKeyOneSubkeyPerSection) {
    EXPECT_EQ(profile.RootPath(), L"software\\BriskoProfileTest\\Brisko .NET");
    EXPECT_EQ(profile.GetString(L"alice", L"src", L"Default"), L"Default");
    EXPECT_EQ(profile.GetInt(L"Location", L"Top", 0), 0);
    ASSERT_TRUE(profile.WriteString(L"alice", L"src", L"C:\\lang\\italiano.lng"));
    ASSERT_TRUE(profile.WriteString(L"bob", L"src", L"Default"));
    ASSERT_TRUE(profile.WriteInt(L"Location", L"Left", -32000));
    // Two Windows users keep separate language settings.
    EXPECT_EQ(profile.GetString(L"alice", L"src", L"Default"), L"C:\\lang\\italiano.lng");
    EXPECT_EQ(profile.GetString(L"bob", L"src", L"x"), L"Default");
    EXPECT_EQ(profile.GetInt(L"Location", L"Left", 0), -32000);
    win::RegKey key;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"software\\BriskoProfileTest\\Brisko .NET\\alice", 0, KEY_READ,
                              key.Put()),
              ERROR_SUCCESS);
}

TEST_F(ProfileTest, ValuesOfTheWrongTypeOrSizeGiveTheDefault) {
    ASSERT_TRUE(profile.WriteInt(L"u", L"src", 7));
    EXPECT_EQ(profile.GetString(L"u", L"src", L"Default"), L"Default");
    ASSERT_TRUE(profile.WriteString(L"Location", L"Top", L"12"));
    EXPECT_EQ(profile.GetInt(L"Location", L"Top", 0), 0);
    std::wstring big(600 * 1024, L'p');
    ASSERT_TRUE(profile.WriteString(L"u", L"src", big));
    EXPECT_EQ(profile.GetString(L"u", L"src", L"Default"), big);
}

TEST(ProfileWithoutRoot, ReadsDefaultsAndRefusesWrites) {
    win::CProfile profile;
    EXPECT_EQ(profile.GetString(L"a", L"b", L"d"), L"d");
    EXPECT_FALSE(profile.WriteInt(L"a", L"b", 1));
}
