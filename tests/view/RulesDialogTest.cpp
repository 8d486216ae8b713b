// Options > Extra Rules, opened modeless on a rules file in the community's
// form: its tree of groups and entries, the search, what each entry would
// remove, the question of an entry's warning, and the choice kept for the
// file across an update of it and used by the window's scan.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/BriskoDoc.h"
#include "res/resource.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"
#include "view/RuleEntryChoice.h"
#include "view/RulesChoice.h"
#include "view/RulesDialog.h"

using namespace testing_support;

namespace {
const wchar_t kSettingsKey[] = L"Brisko-rules-dialog-test";

const char kRules[] =
    "[Browser Cache *]\r\nSection=Browsers\r\nFileKey1=%LocalAppData%\\Browser\\Cache|*.bin\r\n"
    "[Browser Passwords *]\r\nSection=Browsers\r\nWarning=This removes your saved passwords.\r\n"
    "FileKey1=%LocalAppData%\\Browser|Login Data\r\n"
    "[Shader Cache *]\r\nLangSecRef=3025\r\nDefault=True\r\nFileKey1=%LocalAppData%\\Shaders|*.*\r\n"
    "[Missing App *]\r\nDetect=HKCU\\Software\\Brisko Missing App\r\nFileKey1=%LocalAppData%\\Missing|*.*\r\n"
    "[Loose Logs *]\r\nFileKey1=%LocalAppData%\\Logs|*.log\r\n";

class RulesDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        host.app.m_strAppName = L"Brisko .NET";
        host.app.SetRegistryKey(kSettingsKey);
        host.app.m_szUserName = L"u";
        for (const wchar_t* file : {L"Local\\Browser\\Cache\\a.bin", L"Local\\Browser\\Cache\\b.bin",
                                    L"Local\\Browser\\Login Data", L"Local\\Shaders\\s.idx", L"Local\\Logs\\x.log"}) {
            MakeFolders(ParentOf(folder / file));
            WriteFileBytes(folder / file, std::string(2048, 'x'));
        }
        WriteFileBytes(rulesPath, kRules);
        StoreRulesFile(host.app, rulesPath);
    }
    void TearDown() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"software\\" + std::wstring(kSettingsKey)).c_str());
    }
    std::unique_ptr<CRulesDlg> Open() {
        auto dialog = std::make_unique<CRulesDlg>(host.app, machine);
        dialog->m_askWarning = [this](HWND, const std::wstring& question) {
            questions.push_back(question);
            return acceptWarning;
        };
        EXPECT_TRUE(dialog->Create(host.Frame()));
        EXPECT_TRUE(WaitUntil([&] { return !dialog->Measuring(); }));
        return dialog;
    }
    static std::wstring TreeText(HWND tree, HTREEITEM item) {
        wchar_t text[256] = {};
        TVITEMW data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = 256;
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        return text;
    }
    // Each group's text followed by its entries' texts, "[x] " or "[ ] " before each.
    static std::vector<std::wstring> Tree(const CRulesDlg& dialog) {
        HWND tree = dialog.GetItem(IDC_RULES_TREE);
        std::vector<std::wstring> lines;
        for (HTREEITEM group = TreeView_GetRoot(tree); group; group = TreeView_GetNextSibling(tree, group)) {
            // A group has no check box of its own.
            bool box = TreeView_GetItemState(tree, group, TVIS_STATEIMAGEMASK) != 0;
            lines.push_back((box ? L"[?] " : L"") + TreeText(tree, group));
            for (HTREEITEM entry = TreeView_GetChild(tree, group); entry; entry = TreeView_GetNextSibling(tree, entry))
                lines.push_back((TreeView_GetCheckState(tree, entry) == 1 ? L"[x] " : L"[ ] ") + TreeText(tree, entry));
        }
        return lines;
    }
    // A click on the check box of an entry's row, as the mouse gives it.
    static void ClickCheckBox(CRulesDlg& dialog, size_t entry) {
        HWND tree = dialog.GetItem(IDC_RULES_TREE);
        HTREEITEM item = dialog.TreeItemOf(entry);
        TreeView_EnsureVisible(tree, item);
        RECT text{};
        *reinterpret_cast<HTREEITEM*>(&text) = item;
        ::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text));
        POINT at{text.left - 8, (text.top + text.bottom) / 2};
        POINT screen = at;
        ::ClientToScreen(tree, &screen);
        ::SetCursorPos(screen.x, screen.y);
        // The tree follows the button while it is down: the release waits in the queue.
        ::PostMessageW(tree, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        ::SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        WaitUntil([] { return true; });
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    static std::vector<bool> OnStates(const RulesFile& rules) {
        std::vector<bool> on;
        for (const RuleEntry& entry : rules.entries) on.push_back(entry.on);
        return on;
    }

    ScratchFolder folder{L"rules-dialog"};
    const std::wstring rulesPath = folder / L"community.ini";
    FakeMachine machine = MachineWithin(folder.Path());
    ViewHost host;
    std::vector<std::wstring> questions;
    bool acceptWarning = false;
};
}  // namespace

TEST_F(RulesDialogTest, TheFilesEntriesStandInItsGroupsWithWhatEachWouldRemove) {
    auto dialog = Open();
    EXPECT_EQ(dialog->GetWindowText(), L"Extra Rules - Brisko .NET");
    const std::vector<std::wstring> expected = {
        L"Browsers",
        L"[ ] Browser Cache (2 items, 4 KB)",
        L"[ ] Browser Passwords (1 item, 2 KB)",
        L"Windows",
        L"[x] Shader Cache (1 item, 2 KB)",
        L"(no group)",
        L"[ ] Missing App (does not apply here)",
        L"[ ] Loose Logs (1 item, 2 KB)",
    };
    EXPECT_EQ(Tree(*dialog), expected);
    EXPECT_EQ(dialog->ItemText(IDC_RULES_STATUS), L"4 of 5 entries apply here; 1 on");
    EXPECT_EQ(dialog->ItemText(IDC_RULES_PATH), rulesPath);

    // A search keeps the entries whose name or group holds it, letter case aside.
    const struct {
        const wchar_t* search;
        std::vector<size_t> shown;
    } searches[] = {
        {L"cache", {0, 2}}, {L"BROWSERS", {0, 1}}, {L"logs", {4}}, {L"nothing such", {}}, {L"", {0, 1, 2, 3, 4}},
    };
    for (const auto& c : searches) {
        ::SetWindowTextW(dialog->GetItem(IDC_RULES_SEARCH), c.search);
        std::vector<size_t> shown;
        for (size_t i = 0; i < 5; ++i)
            if (dialog->TreeItemOf(i)) shown.push_back(i);
        EXPECT_EQ(shown, c.shown) << c.search;
    }
}

// An entry with a warning is turned on only when the user accepts it; the
// choice OK keeps is the window's next scan's, and stays with the file
// when the file changes, entry by entry.
TEST_F(RulesDialogTest, AWarningIsAskedAndTheChoiceIsKeptAcrossAnUpdateOfTheFile) {
    auto dialog = Open();
    ClickCheckBox(*dialog, 0);
    EXPECT_EQ(OnStates(dialog->Rules()), (std::vector<bool>{true, false, true, false, false}));
    EXPECT_TRUE(questions.empty());
    ClickCheckBox(*dialog, 1);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], L"\"Browser Passwords\" warns: This removes your saved passwords. Turn it on all the same?");
    EXPECT_FALSE(dialog->Rules().entries[1].on);
    EXPECT_EQ(TreeView_GetCheckState(dialog->GetItem(IDC_RULES_TREE), dialog->TreeItemOf(1)), 0u);
    acceptWarning = true;
    dialog->CheckEntry(1, true);
    dialog->CheckEntry(2, false);
    EXPECT_EQ(OnStates(dialog->Rules()), (std::vector<bool>{true, true, false, false, false}));
    EXPECT_EQ(dialog->ItemText(IDC_RULES_STATUS), L"4 of 5 entries apply here; 2 on");
    dialog->SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(dialog->IsWindow());

    CBriskoDoc doc(machine);
    CListController view(host.app, doc);
    ASSERT_TRUE(view.Create(host.Frame()));
    view.SetUpList();
    RunModeToEnd(view, MODE_STANDARD);
    std::vector<std::wstring> rows = RowPaths(view);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::wstring>{folder / L"Local\\Browser\\Cache\\a.bin",
                                               folder / L"Local\\Browser\\Cache\\b.bin",
                                               folder / L"Local\\Browser\\Login Data"}));

    // The file is updated: entries move, one goes, one comes (off, as every
    // entry nobody chose), and the letter case of a name changes.
    WriteFileBytes(rulesPath, "[New Entry *]\r\nDefault=True\r\nFileKey1=%LocalAppData%\\Logs|*.log\r\n"
                              "[browser passwords *]\r\nFileKey1=%LocalAppData%\\Browser|Login Data\r\n"
                              "[Shader Cache *]\r\nDefault=True\r\nFileKey1=%LocalAppData%\\Shaders|*.*\r\n");
    std::optional<RulesFile> loaded = LoadChosenRules(host.app);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(OnStates(*loaded), (std::vector<bool>{false, true, false}));
    auto again = Open();
    EXPECT_EQ(OnStates(again->Rules()), (std::vector<bool>{false, true, false}));
    // Cancel keeps the choice as it was.
    again->CheckEntry(2, true);
    again->SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(OnStates(*LoadChosenRules(host.app)), (std::vector<bool>{false, true, false}));
    // A file nobody chose for keeps its own Default= lines.
    EXPECT_FALSE(StoredEntryChoice(host.app, folder / L"other.ini"));
}

// Enter on a chooser with no file picks one; with a file it keeps the choice.
TEST_F(RulesDialogTest, EnterPicksAFileWhenNoneIsChosenAndKeepsTheChoiceOtherwise) {
    for (bool withFile : {false, true}) {
        SCOPED_TRACE(withFile ? "a file chosen" : "no file");
        StoreRulesFile(host.app, withFile ? rulesPath : L"");
        std::unique_ptr<CRulesDlg> dialog = Open();
        int picks = 0;
        dialog->m_chooseFile = [&picks](HWND) {
            ++picks;
            return false;
        };
        const HWND window = dialog->GetSafeHwnd();
        MSG enter{::GetFocus() ? ::GetFocus() : window, WM_KEYDOWN, VK_RETURN, 0};
        EXPECT_TRUE(::IsDialogMessageW(window, &enter));
        EXPECT_EQ(picks, withFile ? 0 : 1);
        EXPECT_EQ(dialog->IsWindow(), !withFile) << "OK ends the chooser";
        if (dialog->IsWindow()) ::DestroyWindow(window);
    }
}
