#include <gtest/gtest.h>

#include <string>

#include "win/Path.h"
#include "catalog/Registry.h"
#include "win/Handle.h"

TEST(JoinPath, DriveRootsAreConcatenatedEverythingElseGetsOneBackslash) {
    EXPECT_EQ(JoinPath(L"C:\\", L"Boot"), L"C:\\Boot");
    EXPECT_EQ(JoinPath(L"C:", L"Documents and Settings\\Dr Watson"), L"C:\\Documents and Settings\\Dr Watson");
    EXPECT_EQ(JoinPath(L"", L"Users\\Default"), L"\\Users\\Default");
    EXPECT_EQ(JoinPath(L"C:\\Windows", L"Inf"), L"C:\\Windows\\Inf");
    // Only the length decides: any three-character base is taken as a root.
    EXPECT_EQ(JoinPath(L"D:\\", L"Found.000"), L"D:\\Found.000");
    EXPECT_EQ(JoinPath(L"C:\\Temp\\", L"x"), L"C:\\Temp\\\\x");
}

namespace {
// A key of our own below HKEY_LOCAL_MACHINE of the throwaway prefix.
class RegistryStringTest : public testing::Test {
protected:
    static constexpr const wchar_t* kKey = L"SOFTWARE\\BriskoTest\\Reader";
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\BriskoTest");
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(),
                                    nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        key.Reset();
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\BriskoTest");
    }
    void SetBytes(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(::RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
    void SetString(const wchar_t* name, const std::wstring& value) {
        SetBytes(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    win::RegKey key;
};
}  // namespace

TEST_F(RegistryStringTest, ReadsAValueAndFallsBackToTheDefaultWhenKeyOrValueIsMissing) {
    SetString(L"InstalledDir", L"C:\\Program Files\\ICQ");
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\BriskoTest\\Reader\\InstalledDir", L"null"), L"C:\\Program Files\\ICQ");
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\BriskoTest\\Reader\\Missing", L"null"), L"null");
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\BriskoTest\\NoSuchKey\\InstalledDir", L"null"), L"null");
    EXPECT_EQ(ReadRegistryString(L"", L"null"), L"null");
}

TEST_F(RegistryStringTest, LeadingBackslashesAndThoseEndingTheKeyAreIgnored) {
    SetString(L"Path", L"C:\\x");
    SetString(L"", L"default");
    EXPECT_EQ(ReadRegistryString(L"\\\\SOFTWARE\\BriskoTest\\Reader\\\\Path", L"d"), L"C:\\x");
    // A trailing backslash ends the key: the value named is the key's default.
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\BriskoTest\\Reader\\", L"d"), L"default");
    RegistryValuePath parts = SplitRegistryValuePath(L"\\\\A\\B\\\\\\Value\\");
    EXPECT_EQ(parts.key, L"A\\B\\\\\\Value");
    EXPECT_EQ(parts.value, L"");
}

TEST_F(RegistryStringTest, TheOfficeShortcutBarPathSplitsBeforeItsLastComponent) {
    RegistryValuePath parts = SplitRegistryValuePath(
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders\\C:\\Program Files\\Microsoft "
        L"Office\\Office\\Shortcut Bar");
    EXPECT_EQ(parts.value, L"Shortcut Bar");
    EXPECT_EQ(parts.key,
              L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders\\C:\\Program Files\\Microsoft "
              L"Office\\Office");
}

TEST_F(RegistryStringTest, ValuesOfOtherTypesReadAsTheirBytesAndAlwaysEnd) {
    DWORD number = 0x00420041;  // the UTF-16 text "AB" with no terminator
    SetBytes(L"Number", REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\BriskoTest\\Reader\\Number", L"d"), L"AB");
    const char odd[3] = {'x', 0, 'y'};  // an odd byte count
    SetBytes(L"Odd", REG_BINARY, odd, sizeof(odd));
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\BriskoTest\\Reader\\Odd", L"d"), L"xy");
    SetBytes(L"Empty", REG_SZ, L"", 0);
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\BriskoTest\\Reader\\Empty", L"d"), L"");
}

TEST_F(RegistryStringTest, AMegabyteValueIsReadWhole) {
    std::wstring big(512 * 1024, L'q');
    SetString(L"Big", big);
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\BriskoTest\\Reader\\Big", L"d").size(), big.size());
}
