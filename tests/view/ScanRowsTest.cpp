// The rows of a running scan reach the list before the scan ends, and its
// end lists the same rows sorted by name, each once.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "catalog/BriskoDoc.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"
#include "view/RulesChoice.h"

using namespace testing_support;

namespace {
const wchar_t kSettingsKey[] = L"Brisko-scan-rows-test";

// A machine that, once armed, holds the scan where a rule first asks for the
// user's name (only the second entry's rule does) until the test lets it go.
class PausingMachine : public FakeMachine {
public:
    ~PausingMachine() {
        ::CloseHandle(reached);
        ::CloseHandle(release);
    }
    std::optional<std::wstring> Environment(const std::wstring& name) const override {
        if (armed && name == L"USERNAME") {
            ::SetEvent(reached);
            ::WaitForSingleObject(release, 30000);
        }
        return FakeMachine::Environment(name);
    }
    std::atomic<bool> armed{false};
    HANDLE reached = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

bool Holds(const std::vector<std::wstring>& rows, const std::wstring& path) {
    return std::find(rows.begin(), rows.end(), path) != rows.end();
}
}  // namespace

TEST(ScanRows, TheFirstEntrysRowsAreListedWhileTheScanStillRunsAndItsEndSortsThemOnce) {
    ScratchFolder folder{L"scan-rows"};
    for (const wchar_t* file : {L"Local\\First\\b.log", L"Local\\First\\a.log", L"Local\\u\\Second\\c.log"}) {
        MakeFolders(ParentOf(folder / file));
        WriteFileBytes(folder / file, "x");
    }
    const std::wstring first = folder / L"Local\\First";
    WriteFileBytes(folder / L"rules.ini",
                   "[First]\r\nDefault=True\r\nFileKey1=%LocalAppData%\\First|*.log\r\n\r\n"
                   "[Second]\r\nDefault=True\r\nFileKey1=%LocalAppData%\\%UserName%\\Second|*.log\r\n");
    PausingMachine machine;
    machine.windows = folder / L"Windows";
    machine.folders = {{CSIDL_LOCAL_APPDATA, folder / L"Local"}};
    machine.environment = {{L"USERNAME", L"u"}};
    ViewHost host;
    host.app.m_strAppName = L"Brisko .NET";
    host.app.SetRegistryKey(kSettingsKey);
    host.app.m_szUserName = L"u";
    CBriskoDoc doc{machine};
    CListController view{host.app, doc};
    ASSERT_TRUE(view.Create(host.Frame()));
    view.SetUpList();
    RulesDialogs dialogs;
    dialogs.askChange = [](HWND, const std::wstring&) { return IDYES; };
    dialogs.pickFile = [&folder](HWND, const std::wstring&) { return std::optional<std::wstring>(folder / L"rules.ini"); };
    dialogs.tell = [](HWND, const std::wstring&) {};
    ASSERT_TRUE(ChooseRulesFile(nullptr, host.app, machine, dialogs));

    machine.armed = true;
    view.RunMode(MODE_STANDARD);
    ASSERT_TRUE(WaitUntil([&] { return ::WaitForSingleObject(machine.reached, 0) == WAIT_OBJECT_0; }));
    std::vector<std::wstring> rows;
    EXPECT_TRUE(WaitUntil([&] {
        rows = RowPaths(view);
        return Holds(rows, first + L"\\a.log") && Holds(rows, first + L"\\b.log");
    })) << rows.size() << " rows";
    EXPECT_TRUE(view.IsScanning());
    EXPECT_FALSE(Holds(rows, folder / L"Local\\u\\Second\\c.log"));

    machine.armed = false;
    ::SetEvent(machine.release);
    ASSERT_TRUE(WaitUntil([&] { return !view.IsScanning(); }));
    rows = RowPaths(view);
    std::vector<std::wstring> unique = rows;
    std::sort(unique.begin(), unique.end());
    EXPECT_EQ(std::adjacent_find(unique.begin(), unique.end()), unique.end());
    // Sorted by name: each of these after the one before it.
    size_t previous = 0;
    for (const std::wstring& path : {first + L"\\a.log", first + L"\\b.log", folder / L"Local\\u\\Second\\c.log"}) {
        const size_t at = std::find(rows.begin(), rows.end(), path) - rows.begin();
        EXPECT_LT(at, rows.size()) << path;
        EXPECT_GE(at, previous) << path;
        previous = at;
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"software\\" + std::wstring(kSettingsKey)).c_str());
}
