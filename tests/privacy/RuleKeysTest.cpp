// A rules entry's RegKey lines, in the test prefix's registry only: which
// lines are refused as they are read, which keys and values are listed as
// rows, and what a clean of those rows takes and leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include "catalog/BriskoDoc.h"
#include "scan/Listing.h"
#include "privacy/RuleKeys.h"
#include "scan/RulesScan.h"
#include "support/FakeMachine.h"
#include "win/Registry.h"

using namespace testing_support;

namespace {

const wchar_t kVendor[] = L"Software\\BriskoRuleKeys";

class RecordingReport : public IRemovalReport {
public:
    void Removing(const std::wstring& path) override { told += L"removing " + path + L"\n"; }
    void Left(const std::wstring& path, LeftReason reason) override {
        told += L"left " + path + L": " + LeftReasonText(reason) + L"\n";
    }
    std::wstring told;
};

class RuleKeys : public ::testing::Test {
protected:
    void SetUp() override {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            win::RegistryKey app = win::RegistryKey::Create(root, std::wstring(kVendor) + L"\\App", KEY_ALL_ACCESS);
            ASSERT_TRUE(app);
            app.WriteText(L"keep", L"k");
            app.WriteText(L"drop", L"d");
            ASSERT_TRUE(win::RegistryKey::Create(root, std::wstring(kVendor) + L"\\App\\Sub").WriteText(L"x", L"y"));
        }
    }
    void TearDown() override {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) ::RegDeleteTreeW(root, kVendor);
    }
    // The rows an entry of that one line lists, and what its reading told.
    std::vector<std::wstring> Rows(const std::wstring& line, std::wstring& told) {
        RulesFile rules = ParseRules(L"[Keys]\nDefault=True\nRegKey1=" + line + L"\n");
        told.clear();
        for (const RuleProblem& problem : rules.problems) told += RuleProblemText(problem);
        CBriskoDoc doc(machine);
        RecordingSink sink;
        CListingFilter listed(sink);
        RunRulesScan(doc, rules, listed);
        return sink.Paths();
    }
    static bool KeyThere(HKEY root, const std::wstring& below) {
        return win::RegistryKeyExists(root, std::wstring(kVendor) + below);
    }
    static bool ValueThere(HKEY root, const wchar_t* name) {
        return win::RegistryKey::Open(root, std::wstring(kVendor) + L"\\App").HasValue(name);
    }

    FakeMachine machine;
};

}  // namespace

TEST_F(RuleKeys, EachLineIsListedAndCleanedOnlyWhereARuleMayReach) {
    const std::wstring hkcu = L"HKEY_CURRENT_USER\\Software\\BriskoRuleKeys";
    const struct {
        std::wstring line;
        std::wstring refused;  // what its reading tells, "" for nothing
        std::wstring row;      // the row listed, "" for none
    } cases[] = {
        {L"HKCU\\Software\\BriskoRuleKeys\\App\\Sub", L"", hkcu + L"\\App\\Sub"},
        {L"HKEY_CURRENT_USER\\Software\\\\BriskoRuleKeys\\App|drop", L"", hkcu + L"\\App|drop"},
        {L"HKLM\\Software\\BriskoRuleKeys\\App\\Sub", L"", L"HKEY_LOCAL_MACHINE\\Software\\BriskoRuleKeys\\App\\Sub"},
        {L"HKCU\\Software\\BriskoRuleKeys\\App\\Missing", L"", L""},
        {L"HKCU\\Software\\BriskoRuleKeys\\App|missing", L"", L""},
        {L"HKCU\\Software\\BriskoRuleKeys|keep", L"", L""},  // a value of a vendor's key, alone, may go; none there
        {L"HKCU\\Software\\BriskoRuleKeys", L"a vendor's root key, whole", L""},
        {L"HKCU\\Software\\Wow6432Node\\BriskoRuleKeys", L"a vendor's root key, whole", L""},
        {L"HKCU\\Software", L"the whole Software key", L""},
        {L"HKLM\\Software|x", L"a value of Software itself", L""},
        {L"HKCU\\Software\\Policies\\BriskoRuleKeys\\App", L"a key of the policies", L""},
        {L"HKCU\\Software\\Classes", L"the whole Classes key", L""},
        {L"HKCU\\Software\\Classes\\BriskoRuleKeys", L"a vendor's root key, whole", L""},
        {L"HKCU\\Software\\Microsoft\\Windows", L"a key the system keeps, whole", L""},
        {L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"a key the system keeps, whole", L""},
        {L"HKLM\\Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion", L"a key the system keeps, whole", L""},
        {L"HKCU\\Software\\Microsoft\\Office", L"a key the system keeps, whole", L""},
        {L"HKCU\\Software\\Microsoft\\BriskoRuleKeys\\Missing", L"", L""},  // two below: may go, none there
        {L"HKCU\\Environment", L"not a key under Software", L""},
        {L"HKCR\\BriskoRuleKeys\\App", L"only keys of HKCU or HKLM are cleaned", L""},
        {L"HKU\\.DEFAULT\\Software\\BriskoRuleKeys\\App", L"only keys of HKCU or HKLM are cleaned", L""},
        {L"HKCU\\Software\\BriskoRuleKeys\\..\\Other\\App", L"a '.' or '..' step", L""},
        {L"HKCU\\Software\\BriskoRuleKeys\\*", L"a wildcard in a key", L""},
    };
    for (const auto& c : cases) {
        std::wstring told;
        std::vector<std::wstring> rows = Rows(c.line, told);
        if (c.refused.empty())
            EXPECT_EQ(told, L"") << c.line;
        else
            EXPECT_NE(told.find(L"RegKey: " + c.refused), std::wstring::npos) << c.line << L" told " << told;
        EXPECT_EQ(rows, c.row.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.row}) << c.line;
    }
}

TEST_F(RuleKeys, AKeyGoesWholeAValueAloneAndARowNoRuleMayReachStays) {
    RecordingReport report;
    const std::wstring hkcu = L"HKEY_CURRENT_USER\\Software\\BriskoRuleKeys";
    // The Recycle Bin takes no key: a clean to it leaves the row.
    EXPECT_TRUE(CleanRegistryRuleRow(hkcu + L"\\App\\Sub", false, report));
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, L"\\App\\Sub"));
    EXPECT_TRUE(CleanRegistryRuleRow(hkcu + L"\\App|drop", true, report));
    EXPECT_FALSE(ValueThere(HKEY_CURRENT_USER, L"drop"));
    EXPECT_TRUE(ValueThere(HKEY_CURRENT_USER, L"keep"));
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, L"\\App\\Sub"));
    EXPECT_TRUE(CleanRegistryRuleRow(L"HKLM\\Software\\BriskoRuleKeys\\App\\Sub", true, report));
    EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, L"\\App\\Sub"));
    EXPECT_TRUE(KeyThere(HKEY_LOCAL_MACHINE, L"\\App"));
    // Rows made up, or stale, are checked as the lines were.
    for (const std::wstring& row : {hkcu, std::wstring(L"HKEY_CURRENT_USER\\Software"),
                                    std::wstring(L"HKEY_CLASSES_ROOT\\BriskoRuleKeys"), hkcu + L"\\App\\..\\..\\x"})
        EXPECT_TRUE(CleanRegistryRuleRow(row, true, report)) << row;
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, L"\\App"));
    EXPECT_TRUE(CleanRegistryRuleRow(hkcu + L"\\App\\Sub", true, report));
    EXPECT_TRUE(CleanRegistryRuleRow(hkcu + L"\\App\\Sub", true, report));  // gone by now
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, L"\\App\\Sub"));
    // A file row is none of these routines' business.
    EXPECT_FALSE(CleanRegistryRuleRow(L"C:\\HKCU\\Software\\x", true, report));
    EXPECT_EQ(report.told,
              L"left " + hkcu + L"\\App\\Sub: the Recycle Bin refused it\n"
              L"removing " + hkcu + L"\\App|drop\n"
              L"removing HKLM\\Software\\BriskoRuleKeys\\App\\Sub\n"
              L"left " + hkcu + L": a protected folder\n"
              L"left HKEY_CURRENT_USER\\Software: a protected folder\n"
              L"left HKEY_CLASSES_ROOT\\BriskoRuleKeys: a protected folder\n"
              L"left " + hkcu + L"\\App\\..\\..\\x: a protected folder\n"
              L"removing " + hkcu + L"\\App\\Sub\n"
              L"left " + hkcu + L"\\App\\Sub: no longer there\n");
}
