// Group Policy values on every surface they reach: the main frame's menu and
// toolbar, brisko-cli's refusals, the scans of both (an excluded path in
// every spelling) and the removal; and values that cannot be used.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/BriskoApp.h"
#include "app/MainFrame.h"
#include "catalog/BriskoDoc.h"
#include "clean/DeleteItem.h"
#include "cli/CliRun.h"
#include "policy/Policies.h"
#include "support/ScopedRegistry.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"

using namespace testing_support;

namespace {

bool Holds(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

std::wstring WindowsFolder() {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return windows;
}

// One policy value for one scope; the policies in force are read again on
// both ends, so that no test sees another's value.
class ScopedPolicy {
public:
    ScopedPolicy(HKEY scope, const wchar_t* name, DWORD type, const std::wstring& text)
        : m_value(std::make_unique<ScopedRegistryValue>(scope, kPolicyKey, name, type, text.c_str(),
                                                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)))) {
        RefreshPolicies();
    }
    ScopedPolicy(HKEY scope, const wchar_t* name, DWORD number)
        : m_value(std::make_unique<ScopedRegistryValue>(scope, kPolicyKey, name, REG_DWORD, &number, sizeof(number))) {
        RefreshPolicies();
    }
    ~ScopedPolicy() {
        m_value.reset();
        RefreshPolicies();
    }

private:
    std::unique_ptr<ScopedRegistryValue> m_value;
};

// A REG_MULTI_SZ's text: each string ended by a NUL; the ScopedPolicy adds the list's last NUL.
std::wstring MultiString(const std::vector<std::wstring>& strings) {
    std::wstring text;
    for (const std::wstring& s : strings) text += s + L'\0';
    return text;
}

class PolicySurfaces : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        for (wchar_t seed : std::wstring(L"abcdefz")) WriteFileBytes(Seed(seed), "seed");
    }
    void TearDown() override {
        CloseFrame();
        for (wchar_t seed : std::wstring(L"abcdefz")) ::DeleteFileW(Seed(seed).c_str());
    }
    std::wstring Seed(wchar_t which) const { return windows + L"\\brisko-policy-" + which + L".tmp"; }

    CListController& OpenFrame() {
        frame = std::make_unique<CMainFrame>(app, doc);
        EXPECT_TRUE(frame->LoadFrame());
        app.m_pMainWnd = win::CWnd(frame->GetSafeHwnd());
        frame->GetView()->m_showAdvanceDialog = [](CBriskoDoc&) {};
        return *frame->GetView();
    }
    void CloseFrame() {
        if (!frame) return;
        ::DestroyWindow(frame->GetSafeHwnd());
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        frame.reset();
    }
    // Whether the menu, as the frame prepares it for showing, greys the item.
    bool MenuGreyed(UINT id) {
        HMENU bar = ::GetMenu(frame->GetSafeHwnd());
        for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
            HMENU popup = ::GetSubMenu(bar, i);
            if (::GetMenuState(popup, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) continue;
            ::SendMessageW(frame->GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);
            return (::GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
        }
        ADD_FAILURE() << "no menu item " << id;
        return false;
    }

    // The tool tip the frame gives a toolbar button.
    std::wstring ToolTipOf(UINT id) {
        NMTTDISPINFOW info{};
        info.hdr = {nullptr, id, TTN_GETDISPINFOW};
        ::SendMessageW(frame->GetSafeHwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info.lpszText ? info.lpszText : L"";
    }

    const std::wstring windows = WindowsFolder();
    CBriskoApp app;
    CBriskoDoc doc;
    std::unique_ptr<CMainFrame> frame;
};

}  // namespace

TEST_F(PolicySurfaces, EachPolicyGreysItsCommandsRefusesItsCommandLinesAndHidesItsPaths) {
    wchar_t shortSeed[MAX_PATH] = {};
    ::GetShortPathNameW(Seed(L'c').c_str(), shortSeed, MAX_PATH);
    ASSERT_NE(std::wstring(shortSeed), Seed(L'c')) << "the file system gives no short name";
    const std::wstring everySpelling = MultiString({
        L"c:/WINDOWS/brisko-policy-a.tmp",                        // slashes and letter case
        windows + L"\\System32\\..\\BRISKO-POLICY-B.TMP",         // a ".." step
        shortSeed,                                                 // the 8.3 name
        windows + L"\\brisko-policy-d*.t?p",                      // wildcards in the last step
        L"\\\\?\\" + windows + L"\\brisko-policy-e.tmp\\",        // the long prefix, a trailing backslash
        L"%SystemRoot%\\brisko-policy-f.tmp",                     // a variable
    });
    const struct {
        const wchar_t* name;
        HKEY scope;
        DWORD type;  // REG_DWORD: the number 1
        std::wstring text;
        std::vector<UINT> greyed;   // menu items, and their toolbar buttons where they have one
        std::vector<std::wstring> refused;  // command lines refused with exit status 2
        const wchar_t* hidden;      // seeds no scan lists nor clean removes
        const wchar_t* prompt;      // the status-bar prompt and tool tip of each greyed item
    } cases[] = {
        {L"RecycleOnly", HKEY_LOCAL_MACHINE, REG_DWORD, L"", {ID_EDIT_DELETE},
         {L"clean --mode standard --permanent --include brisko-policy-*"}, L"", L"Turned off by your administrator"},
        {L"DisablePrivacy", HKEY_CURRENT_USER, REG_DWORD, L"", {ID_OPTIONS_COOKIES, ID_OPTIONS_OFFLINE_TEMP, ID_OPTIONS_BROWSERS},
         {L"clean --mode offline --recycle --include brisko-policy-*", L"browsers clean --dry-run"}, L"",
         L"Turned off by your administrator"},
        {L"RulesFile", HKEY_LOCAL_MACHINE, REG_EXPAND_SZ, L"%SystemDrive%\\brisko-test\\rules\\current.ini",
         {ID_OPTIONS_RULES}, {}, L"", L"Your organisation's policy sets the rules file"},
        {L"ExcludePaths", HKEY_CURRENT_USER, REG_MULTI_SZ, everySpelling, {}, {}, L"abcdef", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<ScopedPolicy> policy =
            c.type == REG_DWORD ? std::make_unique<ScopedPolicy>(c.scope, c.name, 1)
                                : std::make_unique<ScopedPolicy>(c.scope, c.name, c.type, c.text);
        CListController& view = OpenFrame();
        std::vector<std::wstring> removed;
        view.m_removeItem = [&](const std::wstring& path, bool) { removed.push_back(path); };
        RunModeToEnd(view, MODE_STANDARD);
        for (wchar_t seed : std::wstring(L"abcdefz")) {
            bool listed = false;
            for (const std::wstring& row : RowPaths(view)) listed |= _wcsicmp(row.c_str(), Seed(seed).c_str()) == 0;
            EXPECT_EQ(listed, !wcschr(c.hidden, seed)) << "window, seed " << static_cast<char>(seed);
        }
        view.List().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
        for (UINT id : c.greyed) {
            if (frame->ToolBar().SendMessage(TB_COMMANDTOINDEX, id) >= 0) {
                EXPECT_FALSE(frame->ToolBar().IsButtonEnabled(id)) << id;
                EXPECT_EQ(ToolTipOf(id), c.prompt) << id;
                NMTBHOTITEM hot{{frame->ToolBar().GetSafeHwnd(), 0, TBN_HOTITEMCHANGE}, 0, static_cast<int>(id), HICF_MOUSE};
                ::SendMessageW(frame->GetSafeHwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hot));
                EXPECT_EQ(frame->StatusBar().GetPaneText(0), c.prompt) << "toolbar " << id;
            }
            ::SendMessageW(frame->GetSafeHwnd(), WM_MENUSELECT, MAKEWPARAM(id, MF_HILITE),
                           reinterpret_cast<LPARAM>(::GetMenu(frame->GetSafeHwnd())));
            EXPECT_EQ(frame->StatusBar().GetPaneText(0), c.prompt) << "menu " << id;
            // Sent as its key would send it, a greyed command does nothing.
            if (MenuGreyed(id)) ::SendMessageW(frame->GetSafeHwnd(), WM_COMMAND, id, 0);
            else ADD_FAILURE() << "not greyed: " << id;
        }
        EXPECT_TRUE(WaitUntil([&] { return !view.m_bBusy; }));
        EXPECT_TRUE(removed.empty());
        for (const std::wstring& refused : c.refused) {
            CliRun run = RunCli(refused);
            EXPECT_EQ(run.exitCode, 2) << run.out;
            EXPECT_TRUE(Holds(run.err, std::wstring(L"policy ") + c.name)) << run.err;
        }
        CliRun scan = RunCli(L"clean --mode standard --recycle --include brisko-policy-*");
        for (wchar_t seed : std::wstring(L"abcdefz")) {
            bool kept = wcschr(c.hidden, seed) != nullptr;
            EXPECT_EQ(Holds(scan.out, Seed(seed)), !kept) << "command line, seed " << static_cast<char>(seed);
            EXPECT_EQ(Exists(Seed(seed)), kept) << static_cast<char>(seed);
            WriteFileBytes(Seed(seed), "seed");
        }
        CloseFrame();
        policy.reset();
        ASSERT_TRUE(AddExistingItem(OpenFrame(), Seed(L'z')));
        frame->GetView()->List().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
        for (UINT id : c.greyed) {
            EXPECT_FALSE(MenuGreyed(id)) << "without the policy, " << id;
            if (frame->ToolBar().SendMessage(TB_COMMANDTOINDEX, id) >= 0)
                EXPECT_NE(ToolTipOf(id), c.prompt) << "without the policy, " << id;
        }
        CloseFrame();
    }
}

TEST_F(PolicySurfaces, AFolderItemIsRemovedAroundWhatAPolicyKeeps) {
    ScratchFolder scratch{L"policy-folder"};
    for (bool permanent : {true, false}) {
        SCOPED_TRACE(permanent ? "permanent" : "Recycle Bin");
        MakeFolders(scratch / L"item\\deep");
        for (const wchar_t* file : {L"item\\junk.tmp", L"item\\deep\\keep.txt", L"item\\deep\\junk.log"})
            WriteFileBytes(scratch / file, "x");
        RemovalGuards guards = MachineGuards();
        ASSERT_EQ(guards.excluded.Add(scratch / L"ITEM\\DEEP\\keep.*"), PathExclusions::Added::Resolved);
        struct : IRemovalReport {
            void Removing(const std::wstring&) override {}
            void Left(const std::wstring& path, LeftReason reason) override { left.emplace_back(path, reason); }
            std::vector<std::pair<std::wstring, LeftReason>> left;
        } report;
        DeleteFoundItem(scratch / L"item", permanent, RemovalContext{guards, report});
        EXPECT_TRUE(Exists(scratch / L"item\\deep\\keep.txt"));
        EXPECT_FALSE(Exists(scratch / L"item\\junk.tmp"));
        EXPECT_FALSE(Exists(scratch / L"item\\deep\\junk.log"));
        ASSERT_EQ(report.left.size(), 1u);
        EXPECT_EQ(report.left[0].second, LeftReason::Excluded);
        EXPECT_TRUE(Holds(report.left[0].first, L"keep.txt"));
    }
}

TEST(PolicyValues, ValuesThatCannotBeUsedAreIgnoredAndToldOnceAndTheMachineWins) {
    const struct {
        const wchar_t* name;
        DWORD type;
        std::wstring data;  // the bytes of the value, as text
        const wchar_t* says;
    } cases[] = {
        {L"RecycleOnly", REG_SZ, L"1", L"not a number"},
        {L"RecycleOnly", REG_DWORD, std::wstring(L"\x0002\0", 2), L"2 is out of range"},
        {L"DisablePrivacy", REG_QWORD, std::wstring(L"\x0001\0\0\0", 4), L"not a number"},
        {L"RulesFile", REG_DWORD, std::wstring(L"\x0001\0", 2), L"not a text"},
        {L"RulesFile", REG_SZ, L"rules\\current.ini", L"is not a full path"},
        {L"ExcludePaths", REG_SZ, L"C:\\Data", L"not a list"},
        {L"ExcludePaths", REG_MULTI_SZ, MultiString({L"C:\\Da*\\x"}), L"\"C:\\Da*\\x\" is not a full path"},
        {L"KeepCookies", REG_MULTI_SZ, MultiString({L"intranet.example", L"bad site/"}), L"\"bad site/\" is not a site"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedRegistryValue value(HKEY_LOCAL_MACHINE, kPolicyKey, c.name, c.type, c.data.data(),
                                  static_cast<DWORD>(c.data.size() * sizeof(wchar_t)));
        Policies policies = ReadPolicies();
        ASSERT_EQ(policies.problems.size(), 1u);
        EXPECT_TRUE(Holds(policies.problems[0], std::wstring(L"policy ") + c.name + L" (HKEY_LOCAL_MACHINE)"));
        EXPECT_TRUE(Holds(policies.problems[0], c.says)) << policies.problems[0];
        EXPECT_FALSE(policies.recycleOnly || policies.privacyDisabled || policies.rulesFile);
        EXPECT_TRUE(policies.excluded.Empty());
        EXPECT_EQ(UntoldPolicyProblems(policies).size(), 1u);
        EXPECT_TRUE(UntoldPolicyProblems(policies).empty());
    }
    {
        // A bad machine value leaves the user's in force; a good one wins over it.
        ScopedPolicy user(HKEY_CURRENT_USER, L"RecycleOnly", 1);
        ScopedPolicy machine(HKEY_LOCAL_MACHINE, L"RecycleOnly", 3);
        EXPECT_TRUE(ReadPolicies().recycleOnly);
        ScopedPolicy userRules(HKEY_CURRENT_USER, L"RulesFile", REG_SZ, L"C:\\user.ini");
        ScopedPolicy machineRules(HKEY_LOCAL_MACHINE, L"RulesFile", REG_SZ, L"C:\\machine.ini");
        EXPECT_EQ(ReadPolicies().rulesFile.value_or(L""), L"C:\\machine.ini");
        CliRun run = RunCli(L"clean --mode standard --recycle --dry-run --include brisko-policy-none");
        // The machine's rules file, which does not exist, adds nothing and is told.
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(Holds(run.err, L"brisko-cli: policy RecycleOnly (HKEY_LOCAL_MACHINE): 3 is out of range")) << run.err;
        EXPECT_TRUE(Holds(run.err, L"machine.ini")) << run.err;
        EXPECT_FALSE(Holds(run.err, L"user.ini")) << run.err;
    }
}
