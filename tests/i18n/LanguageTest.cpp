#include <gtest/gtest.h>

#include <string>

#include "i18n/Ini.h"
#include "i18n/Lang.h"
#include "i18n/LanguageChoice.h"
#include "res/resource.h"
#include "support/TestSupport.h"

using testing_support::ScratchFolder;
using testing_support::WriteFileBytes;
using testing_support::WriteTextFile;

namespace {
// Binds the lookup to a file and a setting for one test, and unbinds after.
class LanguageTest : public testing::Test {
protected:
    void Use(const std::wstring& file, const std::wstring& setting) {
        ini.SetFileName(file);
        language = setting;
        BindLanguage(&ini, &language);
    }
    void TearDown() override { BindLanguage(nullptr, nullptr); }
    ScratchFolder folder{L"lang"};
    CIni ini;
    std::wstring language = kDefaultLanguage;
};
}  // namespace

TEST_F(LanguageTest, TheDefaultSettingIgnoresAnyFile) {
    std::wstring file = folder / L"it.lng";
    WriteTextFile(file, L"[Status]\r\n11=Eliminazione\r\n");
    Use(L"", kDefaultLanguage);
    EXPECT_EQ(GetUiText(L"Status", L"11", L"Deleting "), L"Deleting ");
    // Even a file bound by mistake is not consulted while the setting is "Default".
    ini.SetFileName(file);
    EXPECT_EQ(GetUiText(L"Status", L"11", L"Deleting "), L"Deleting ");
    language = file;
    EXPECT_EQ(GetUiText(L"Status", L"11", L"Deleting "), L"Eliminazione");
}

TEST_F(LanguageTest, EmptyOrMissingValuesGiveTheBuiltInTextAndSectionsIgnoreCase) {
    std::wstring file = folder / L"x.lng";
    WriteTextFile(file, L"[status]\r\n11=\r\n14=Fatto\r\n[Columns]\r\n1=Nome\r\n");
    Use(file, file);
    EXPECT_EQ(GetLangString(L"Status", L"11", L"Deleting "), L"Deleting ");
    EXPECT_EQ(GetLangString(L"Status", L"14", L"Completed"), L"Fatto");
    EXPECT_EQ(GetLangString(L"Columns", L"2", L"Type"), L"Type");
    EXPECT_EQ(GetLangString(L"Nothing", L"1", L""), L"");
    Use(folder / L"missing.lng", folder / L"missing.lng");
    EXPECT_EQ(GetLangString(L"Columns", L"1", L"File Name"), L"File Name");
}

TEST_F(LanguageTest, ValuesAreCutTo299Characters) {
    std::wstring file = folder / L"long.lng";
    std::wstring v299(299, L'a'), v300(299, L'b');
    v300 += L'c';
    WriteTextFile(file, L"[T]\r\n1=" + v299 + L"\r\n2=" + v300 + L"\r\n");
    Use(file, file);
    EXPECT_EQ(GetLangString(L"T", L"1", L"d"), v299);
    EXPECT_EQ(GetLangString(L"T", L"2", L"d"), std::wstring(299, L'b'));
}

TEST_F(LanguageTest, BrokenFilesGiveTheBuiltInTexts) {
    std::wstring empty = folder / L"empty.lng", garbage = folder / L"garbage.lng", huge = folder / L"huge.lng",
                 longLine = folder / L"longline.lng";
    WriteFileBytes(empty, "");
    std::string bytes;
    for (int i = 0; i < 70000; ++i) bytes += static_cast<char>((i * 7919) & 0xFF);
    WriteFileBytes(garbage, bytes);
    std::string big = "[Columns]\r\n";
    while (big.size() < 6 * 1024 * 1024) big += "9=" + std::string(200, 'z') + "\r\n";
    WriteFileBytes(huge, big);
    WriteFileBytes(longLine, "[Columns]\r\n1=" + std::string(100000, 'y') + "\r\n");
    for (const std::wstring& file : {empty, garbage, huge}) {
        Use(file, file);
        EXPECT_EQ(GetLangString(L"Columns", L"1", L"File Name"), L"File Name");
    }
    Use(longLine, longLine);
    std::wstring value = GetLangString(L"Columns", L"1", L"File Name");
    EXPECT_LE(value.size(), 299u);
}

TEST(ResourceTexts, PrefixAndSuffixCutAtLineFeedsOrOtherCharacters) {
    EXPECT_EQ(LoadResPrefix(AFX_IDS_IDLEMESSAGE), L"Ready");
    EXPECT_EQ(LoadResSuffix(AFX_IDS_IDLEMESSAGE, L'\n'), L"selected");
    EXPECT_EQ(LoadResSuffix(AFX_IDS_IDLEMESSAGE, L','), L"Ready\nselected");
    EXPECT_EQ(LoadResPrefix(IDS_DELETING), L"Deleting ");
    EXPECT_EQ(LoadResSuffix(IDS_DELETING, L'\n'), L"Deleting ");
    EXPECT_EQ(LoadResSuffix(ID_OPTIONS_OFFLINE_TEMP, L'\n'), L"Offline Temp");
    EXPECT_EQ(LoadResPrefix(AFX_IDS_APP_TITLE), L"Brisko .NET");
    EXPECT_EQ(LoadResPrefix(4242), L"");  // no such string
}

TEST(LanguageChoice, KeyboardLayoutsPickTheirFilesExactly) {
    EXPECT_EQ(LanguageFileForLayout(L"00000804"), L"\\s_chinese.lng");
    EXPECT_EQ(LanguageFileForLayout(L"00000C04"), L"\\t_chinese.lng");
    EXPECT_EQ(LanguageFileForLayout(L"00000c04"), L"");  // letter case counts
    EXPECT_EQ(LanguageFileForLayout(L"00000810"), L"\\italiano.lng");
    EXPECT_EQ(LanguageFileForLayout(L"00000409"), L"");
    EXPECT_EQ(LanguageFileForLayout(L"null"), L"");
    std::wstring folder = GetLangFolder();
    EXPECT_EQ(folder, testing_support::ProgramFolder() + L"\\lang");
}
