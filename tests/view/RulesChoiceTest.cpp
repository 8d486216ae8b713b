// The extra rules file of the window: choosing one, keeping it, going back
// to none, and the Standard scan's list with and without it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/BriskoDoc.h"
#include "res/resource.h"
#include "scan/FoundItemOrder.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"
#include "view/RulesChoice.h"

using namespace testing_support;

namespace {
const wchar_t kSettingsKey[] = L"Brisko-rules-choice-test";

class RulesChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.app.m_strAppName = L"Brisko .NET";
        host.app.SetRegistryKey(kSettingsKey);
        host.app.m_szUserName = L"u";
        ASSERT_TRUE(view.Create(host.Frame()));
        view.SetUpList();
        MakeFolders(folder / L"Local\\D3DSCache\\4c1f");
        WriteFileBytes(folder / L"Local\\D3DSCache\\4c1f\\shader.idx", "x");
        WriteFileBytes(folder / L"odd.ini", std::string(9 << 20, 'a'));
    }
    void TearDown() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"software\\" + std::wstring(kSettingsKey)).c_str());
    }

    bool Listed(const std::wstring& path) {
        RunModeToEnd(view, MODE_STANDARD);
        std::vector<std::wstring> rows = RowPaths(view);
        return std::find(rows.begin(), rows.end(), path) != rows.end();
    }
    // Dialogs that answer `answer` to the question and pick `picked`, and record what they tell.
    RulesDialogs Answering(int answer, std::optional<std::wstring> picked) {
        RulesDialogs dialogs;
        dialogs.askChange = [answer](HWND, const std::wstring&) { return answer; };
        dialogs.pickFile = [picked](HWND, const std::wstring&) { return picked; };
        dialogs.tell = [this](HWND, const std::wstring& text) { told += text; };
        return dialogs;
    }

    ScratchFolder folder{L"rules-choice"};
    FakeMachine machine = MachineWithin(folder.Path());
    ViewHost host;
    CBriskoDoc doc{machine};
    CListController view{host.app, doc};
    std::wstring told;
};
}  // namespace

TEST_F(RulesChoiceTest, AChosenRulesFileAddsToTheStandardScanUntilNoneIsChosen) {
    const std::wstring rules = ProgramFolder() + L"\\rules\\current.ini";
    const std::wstring shaders = folder / L"Local\\D3DSCache";
    EXPECT_FALSE(Listed(shaders));
    EXPECT_TRUE(view.IsCommandEnabled(ID_OPTIONS_RULES));

    // With none chosen the file dialog opens at once; cancelling it changes nothing. A
    // rule refused here is told, and the file is chosen all the same.
    EXPECT_FALSE(ChooseRulesFile(nullptr, host.app, machine, Answering(IDYES, std::nullopt)));
    WriteFileBytes(folder / L"elsewhere.ini", "[E]\r\nFileKey1=C:\\Elsewhere|*.*\r\n");
    EXPECT_TRUE(ChooseRulesFile(nullptr, host.app, machine, Answering(IDYES, folder / L"elsewhere.ini")));
    EXPECT_NE(told.find(L"\n[E] C:\\Elsewhere leads outside every known folder"), std::wstring::npos) << told;
    told.clear();
    EXPECT_TRUE(ChooseRulesFile(nullptr, host.app, machine, Answering(IDYES, rules)));
    EXPECT_EQ(told, L"");
    EXPECT_EQ(StoredRulesFile(host.app), rules);
    EXPECT_TRUE(Listed(shaders));
    // The row tells the entry that found it, after its type.
    std::vector<std::wstring> rows = RowPaths(view);
    size_t row = std::find(rows.begin(), rows.end(), shaders) - rows.begin();
    std::wstring type = view.CellText(row, kColumnType);
    EXPECT_GT(type.size(), 26u) << type;
    EXPECT_TRUE(type.ends_with(L" (DirectX Shader Cache)")) << type;

    // A file that cannot be used is told and leaves the choice as it was; so does Cancel.
    EXPECT_FALSE(ChooseRulesFile(nullptr, host.app, machine, Answering(IDYES, folder / L"odd.ini")));
    EXPECT_NE(told.find(L"larger than 8 MB"), std::wstring::npos) << told;
    EXPECT_FALSE(ChooseRulesFile(nullptr, host.app, machine, Answering(IDCANCEL, folder / L"odd.ini")));
    EXPECT_EQ(StoredRulesFile(host.app), rules);

    EXPECT_TRUE(ChooseRulesFile(nullptr, host.app, machine, Answering(IDNO, std::nullopt)));
    EXPECT_EQ(StoredRulesFile(host.app), L"");
    EXPECT_FALSE(Listed(shaders));
}
