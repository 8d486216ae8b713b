// What the user does with the rows of the result list: column sorts with
// their header arrows, the selection commands, opening, the context menu and
// its enabling, and the change of language.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cwchar>

#include "catalog/BriskoDoc.h"
#include "res/resource.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"
#include "scan/FoundItemOrder.h"

using namespace testing_support;
using Texts = std::vector<std::wstring>;

namespace {
struct Asked {
    HWND owner;
    std::wstring text, caption;
    UINT type;
};
struct Popup {
    HMENU menu;
    POINT at;
    HWND owner;
};

class ListCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Frame()));
        view.MoveWindow(0, 0, 700, 300);
        view.SetUpList();
        view.m_shell.messageBox = [this](HWND owner, const std::wstring& text, const std::wstring& caption,
                                         UINT type) {
            asked.push_back({owner, text, caption, type});
            return answer;
        };
        view.m_shell.open = [this](const std::wstring& path) { opened.push_back(path); };
        view.m_shell.trackPopup = [this](HMENU menu, POINT at, HWND owner) { popups.push_back({menu, at, owner}); };
    }
    void TearDown() override { view.DestroyWindow(); }

    // Appends a row that shows the texts of columns 0, 2 ("" for a folder,
    // else a number of KB) and 3 (a local "MM/DD/YYYY HH:MM").
    void AddRow(const std::wstring& path, const std::wstring& size, const std::wstring& date = L"") {
        WIN32_FIND_DATAW find{};
        if (size.empty()) find.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
        else find.nFileSizeLow = static_cast<DWORD>(std::wcstoul(size.c_str(), nullptr, 10) * 1024);
        SYSTEMTIME local{};
        FILETIME localTime{};
        if (!date.empty() && std::swscanf(date.c_str(), L"%hu/%hu/%hu %hu:%hu", &local.wMonth, &local.wDay, &local.wYear,
                                          &local.wHour, &local.wMinute) == 5) {
            ::SystemTimeToFileTime(&local, &localTime);
            ::LocalFileTimeToFileTime(&localTime, &find.ftLastWriteTime);
        }
        view.InsertFoundRow(path, find, false);
        ASSERT_EQ(view.List().GetItemText(view.List().GetItemCount() - 1, 2), size) << path;
        if (!date.empty()) {
            ASSERT_EQ(view.List().GetItemText(view.List().GetItemCount() - 1, 3), date) << path;
        }
    }
    std::vector<int> Selected() const {
        std::vector<int> rows;
        for (int row = 0; row < view.List().GetItemCount(); ++row)
            if (view.List().GetItemState(row, LVIS_SELECTED)) rows.push_back(row);
        return rows;
    }
    void Select(std::initializer_list<int> rows) {
        view.List().SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows) view.List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    void Notify(UINT code, int column = 0) {
        NMLISTVIEW note{};
        note.hdr.hwndFrom = view.GetSafeHwnd();
        note.hdr.code = code;
        note.iSubItem = column;
        view.OnNotify(note.hdr);
    }
    win::CHeaderCtrl Header() const { return win::CHeaderCtrl(view.List().GetHeader()); }
    std::wstring HeaderText(int item) const {
        wchar_t text[300] = {};
        HDITEMW hdi{};
        hdi.mask = HDI_TEXT;
        hdi.pszText = text;
        hdi.cchTextMax = 300;
        Header().SendMessage(HDM_GETITEMW, item, reinterpret_cast<LPARAM>(&hdi));
        return text;
    }

    ViewHost host;
    CBriskoDoc doc;
    CListController view{host.app, doc};
    ScratchFolder folder{L"commands"};
    std::vector<Asked> asked;
    int answer = IDYES;
    std::vector<std::wstring> opened;
    std::vector<Popup> popups;
};
}  // namespace

TEST(Sorting, SizeKeysAreTheKilobytesTheColumnShows) {
    const std::pair<ULONGLONG, ULONGLONG> keys[] = {
        {0, 0}, {1, 1}, {1024, 1}, {1025, 1}, {2047, 1}, {2048, 2}, {10240, 10}, {6442450944ull, 6291456}};
    for (const auto& [bytes, kilobytes] : keys) EXPECT_EQ(ShownKilobytes(bytes), kilobytes) << bytes;
}

TEST_F(ListCommands, HeaderClicksSortByTheColumnInTurnAndShowTheArrowOfTheOrder) {
    AddRow(L"C:\\t\\10k.dat", L"10 KB", L"12/01/2001 10:00");
    AddRow(L"C:\\t\\Cache", L"", L"01/05/2009 09:00");
    AddRow(L"C:\\t\\2k.dat", L"2 KB", L"06/30/2005 08:00");
    AddRow(L"C:\\t\\0k.dat", L"0 KB", L"01/05/2009 07:00");
    auto checkArrows = [this](int sorted, int arrow) {
        for (int i = 0; i < 4; ++i) {
            int format = Header().GetItemFormat(i);
            EXPECT_TRUE(format & HDF_BITMAP_ON_RIGHT) << i;
            EXPECT_EQ(format & (HDF_SORTUP | HDF_SORTDOWN), i == sorted ? arrow : 0) << i;
            EXPECT_EQ(format & HDF_JUSTIFYMASK, i == 2 ? HDF_RIGHT : (i == 0 ? HDF_LEFT : HDF_CENTER)) << i;
        }
        for (int row = 0; row < 4; ++row) EXPECT_EQ(view.List().GetItemData(row), 0) << row;
    };

    Notify(LVN_COLUMNCLICK, 2);  // Size, ascending first: by number, folders among the 0 KB files
    std::vector<std::wstring> sizes = ColumnTexts(view, 2);
    EXPECT_EQ(sizes[2] + L"," + sizes[3], L"2 KB,10 KB");
    EXPECT_EQ(sizes[0] + sizes[1], L"0 KB");
    checkArrows(2, HDF_SORTDOWN);
    EXPECT_FALSE(view.m_bSortAscending[2]);

    Notify(LVN_COLUMNCLICK, 2);
    sizes = ColumnTexts(view, 2);
    EXPECT_EQ(sizes[0] + L"," + sizes[1], L"10 KB,2 KB");
    checkArrows(2, HDF_SORTUP);
    EXPECT_TRUE(view.m_bSortAscending[2]);

    // Date Modified starts descending; ascending then orders by time, across years.
    Notify(LVN_COLUMNCLICK, 3);
    Notify(LVN_COLUMNCLICK, 3);
    EXPECT_EQ(ColumnTexts(view, 3), (Texts{L"12/01/2001 10:00", L"06/30/2005 08:00", L"01/05/2009 07:00",
                                          L"01/05/2009 09:00"}));
    checkArrows(3, HDF_SORTDOWN);

    Notify(LVN_COLUMNCLICK, 0);  // File Name, whose next direction a scan leaves descending
    EXPECT_EQ(ColumnTexts(view, 0), (Texts{L"C:\\t\\Cache", L"C:\\t\\2k.dat", L"C:\\t\\10k.dat", L"C:\\t\\0k.dat"}));
    checkArrows(0, HDF_SORTUP);
}

TEST_F(ListCommands, SelectionCommandsWorkFromTheLastRowAndUnselectAllShowsTheCompletedTitle) {
    for (const wchar_t* name : {L"a", L"b", L"c", L"d"}) AddRow(name, L"1 KB");
    Select({1, 3});
    view.SendMessage(WM_COMMAND, ID_EDIT_INVERT_SELECTION);  // as the context menu sends it
    EXPECT_EQ(Selected(), (std::vector<int>{0, 2}));
    EXPECT_TRUE(view.OnCommand(ID_EDIT_SELECT_ALL));
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2, 3}));
    view.m_strTitle = L"Standard - Brisko .NET";
    EXPECT_TRUE(view.OnCommand(ID_EDIT_UNSELECT_ALL));
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(win::CWnd(host.Frame()).GetWindowText(), L"Completed - Standard - Brisko .NET");
}

TEST_F(ListCommands, OpenAsksFirstForSeveralRowsAndSkipsFoldersThatAreGone) {
    AddRow(folder / L"a.txt", L"1 KB");
    AddRow(folder.Path(), L"");
    AddRow(folder / L"gone", L"");
    Select({0});
    EXPECT_TRUE(view.OnCommand(ID_FILE_OPEN));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(opened, (Texts{folder / L"a.txt"}));

    opened.clear();
    Select({0, 1, 2});
    answer = IDNO;
    Notify(NM_DBLCLK);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].owner, view.GetSafeHwnd());
    EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(asked[0].text + asked[0].caption, L"");
    EXPECT_TRUE(opened.empty());

    answer = IDYES;
    Notify(NM_RETURN);
    EXPECT_EQ(opened, (Texts{folder.Path(), folder / L"a.txt"}));
}

TEST_F(ListCommands, TheEditMenuPopsUpAtThePointOrTheListCornerButNotDuringAClean) {
    ::SetMenu(host.Frame(), ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));
    HMENU edit = ::GetSubMenu(::GetMenu(host.Frame()), 1);
    AddRow(folder / L"a.tmp", L"1 KB");
    AddRow(folder / L"b.tmp", L"1 KB");
    view.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view.GetSafeHwnd()), MAKELPARAM(100, 120));
    view.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view.GetSafeHwnd()), -1);  // from the keyboard
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(popups[0].menu, edit);
    EXPECT_EQ(popups[0].owner, view.GetSafeHwnd());
    EXPECT_EQ(popups[0].at.x, 100);
    EXPECT_EQ(popups[0].at.y, 120);
    POINT corner{0, 0};
    ::ClientToScreen(view, &corner);
    EXPECT_EQ(popups[1].at.x, corner.x);
    EXPECT_EQ(popups[1].at.y, corner.y);

    // Items by position: the rules, and grey for a command that nothing handles.
    HMENU popup = ::CreatePopupMenu();
    for (UINT id : {ID_EDIT_SELECT_ALL, ID_EDIT_DELETE, ID_FILE_PRINT_DIRECT}) ::AppendMenuW(popup, MF_STRING, id, L"x");
    ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    view.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
    auto grey = [popup](int at) { return (::GetMenuState(popup, at, MF_BYPOSITION) & MF_GRAYED) != 0; };
    EXPECT_EQ((std::vector<bool>{grey(0), grey(1), grey(2)}), (std::vector<bool>{false, true, true}));
    ::DestroyMenu(popup);

    HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    view.m_removeItem = [go](const std::wstring&, bool) { ::WaitForSingleObject(go, 20000); };
    Select({0});
    ASSERT_TRUE(view.StartClean(true));
    view.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view.GetSafeHwnd()), MAKELPARAM(100, 120));
    ::SetEvent(go);
    ASSERT_TRUE(WaitUntil([&] { return !view.m_bBusy; }));
    ::CloseHandle(go);
    EXPECT_EQ(popups.size(), 2u);
}

TEST_F(ListCommands, ALanguageChangeRelabelsTheHeadersAndShowsTheCultureName) {
    std::wstring italian = folder / L"it.lng", bare = folder / L"bare.lng";
    WriteTextFile(italian, L"[Header]\r\nCulture=Italiano // it-IT\r\n[Title]\r\n1=Normale\r\n[Columns]\r\n1=Nome file\r\n2=" +
                               std::wstring(280, L't') + L"\r\n3=Dimensione\r\n4=Data modifica\r\n");
    WriteTextFile(bare, L"[Status]\r\n14=Fatto\r\n");
    auto change = [this](const std::wstring& file) {
        host.app.m_ini.SetFileName(file);
        host.app.m_strLanguage = file;
        view.SendMessage(WM_LANGCHANGED);
        return Texts{HeaderText(0), HeaderText(1), HeaderText(2), HeaderText(3)};
    };
    EXPECT_EQ(change(italian),
              (Texts{L"Nome file", std::wstring(259, L't'), L"Dimensione", L"Data modifica"}));
    EXPECT_EQ(host.Title(), L"Normale - Brisko .NET");
    EXPECT_EQ(change(bare), (Texts{L"File Name", L"Type", L"Size", L"Date Modified"}));
    EXPECT_EQ(host.Title(), L"Standard - Brisko .NET");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, L"Italiano ");
    EXPECT_EQ(asked[0].caption, L"Brisko .NET");
    EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(asked[0].owner, host.Frame());
    EXPECT_EQ(asked[1].text, L"English");
}
