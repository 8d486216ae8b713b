// The main frame in this process: its captions, prompts and tool tips in
// each language, its toolbar's enabling, its placement and its first
// choice of language.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/BriskoApp.h"
#include "app/MainFrame.h"
#include "catalog/BriskoDoc.h"
#include "i18n/Lang.h"
#include "i18n/LanguageChoice.h"
#include "support/ScopedRegistry.h"
#include "support/TestSupport.h"
#include "support/ViewHost.h"
#include "view/ListController.h"
#include "support/ConfirmAnswer.h"
#include "view/ConfirmDelete.h"
#include "view/Placement.h"
#include "win/Text.h"

using namespace testing_support;

namespace {
constexpr const wchar_t* kSettingsKey = L"Software\\Brisko";
constexpr UINT kToolBarCommands[] = {ID_OPTIONS_STANDARD, ID_OPTIONS_COOKIES,    ID_OPTIONS_OFFLINE_TEMP,
                                     ID_EDIT_RECYCLE,     ID_EDIT_DELETE,        ID_EDIT_SELECT_ALL,
                                     ID_EDIT_UNSELECT_ALL};

std::wstring MenuText(HMENU menu, UINT item, UINT flags = MF_BYCOMMAND) {
    wchar_t text[300] = {};
    ::GetMenuStringW(menu, item, text, 300, flags);
    return text;
}

// Every command item's caption, and each top-level title under its position.
std::map<UINT, std::wstring> Captions(HMENU menu) {
    std::map<UINT, std::wstring> out;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        out[0x10000 + i] = MenuText(menu, i, MF_BYPOSITION);
        HMENU sub = ::GetSubMenu(menu, i);
        for (int j = 0; j < ::GetMenuItemCount(sub); ++j)
            if (UINT id = ::GetMenuItemID(sub, j); id != 0 && id != static_cast<UINT>(-1)) out[id] = MenuText(sub, id);
    }
    return out;
}

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        app.SetRegistryKey(kRegistryKeyName);
    }
    void TearDown() override {
        Close();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }
    void Open() {
        frame = std::make_unique<CMainFrame>(app, doc);
        ASSERT_TRUE(frame->LoadFrame());
        app.m_pMainWnd = win::CWnd(frame->GetSafeHwnd());
        frame->GetView()->m_shell.messageBox = [this](HWND, const std::wstring& text, const std::wstring&, UINT) {
            messages.push_back(text);
            return IDOK;
        };
        frame->GetView()->m_showAdvanceDialog = [](CBriskoDoc&) {};
    }
    void Close() {
        if (!frame) return;
        ::DestroyWindow(frame->GetSafeHwnd());
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the frame ends the loop it thinks it runs
        frame.reset();
        app.m_pMainWnd = win::CWnd();
    }
    HWND Frame() const { return frame->GetSafeHwnd(); }
    std::wstring Status() const { return frame->StatusBar().GetPaneText(0); }
    std::wstring MenuPromptOf(UINT id) {
        ::SendMessageW(Frame(), WM_MENUSELECT, MAKEWPARAM(id, MF_HILITE), reinterpret_cast<LPARAM>(::GetMenu(Frame())));
        return Status();
    }
    std::wstring ToolBarPromptOf(UINT id) {
        NMTBHOTITEM hot{{frame->ToolBar().GetSafeHwnd(), AFX_IDW_TOOLBAR, TBN_HOTITEMCHANGE}, 0, static_cast<int>(id), 0};
        ::SendMessageW(Frame(), WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&hot));
        return Status();
    }
    std::wstring ToolTipOf(UINT id) {
        NMTTDISPINFOW info{};
        info.hdr = {nullptr, id, TTN_GETDISPINFOW};
        ::SendMessageW(Frame(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info.szText;
    }
    std::string NarrowToolTipOf(UINT id) {
        NMTTDISPINFOA info{};
        info.hdr = {nullptr, id, TTN_GETDISPINFOA};
        ::SendMessageW(Frame(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info.szText;
    }
    std::wstring StoredLanguage() const { return app.GetProfileString(app.m_szUserName, L"src", L"(none)"); }

    CBriskoApp app;
    CBriskoDoc doc;
    std::unique_ptr<CMainFrame> frame;
    std::vector<std::wstring> messages;
    ScratchFolder folder{L"frame"};
};
}  // namespace

TEST_F(MainFrameTest, WithTheBuiltInLanguageEveryCaptionPromptAndToolTipIsTheResourceText) {
    ScopedRegistryValue layout(HKEY_CURRENT_USER, L"Keyboard Layout\\Preload", L"1", L"00000409");
    Open();
    EXPECT_EQ(app.m_strLanguage, L"Default");
    HMENU resource = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    EXPECT_EQ(Captions(::GetMenu(Frame())), Captions(resource));
    ::DestroyMenu(resource);
    std::wstring before = Status();
    for (UINT id : {ID_EDIT_DELETE, ID_EDIT_RECYCLE, ID_EDIT_INVERT_SELECTION, ID_APP_EXIT, ID_VIEW_STATUS_BAR})
        EXPECT_EQ(MenuPromptOf(id), LoadResPrefix(id)) << id;
    ::SendMessageW(Frame(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // the menu closes
    EXPECT_EQ(Status(), before);
    for (UINT id : kToolBarCommands) {
        EXPECT_EQ(ToolBarPromptOf(id), LoadResPrefix(id)) << id;
        EXPECT_EQ(ToolTipOf(id), LoadResSuffix(id, L'\n')) << id;
    }
    Close();
    EXPECT_EQ(StoredLanguage(), L"Default");
}

TEST_F(MainFrameTest, ALanguageFileRelabelsWithKeyTextsAndASecondLeavesNoTraceOfTheFirst) {
    std::wstring first = folder / L"first.lng", second = folder / L"second.lng";
    std::wstring longTip(100, L'x');
    WriteTextFile(first, L"[OptionsMenu]\r\n0=&Opzioni\r\n3=Stand&ard\r\n[ViewMenu]\r\n3=&Lingua\r\n"
                         L"[EditMenu]\r\n3=&Inverti selezione (I)\r\n[Status]\r\n2=S2\r\n"
                         L"[ToolTips]\r\n2=T2\r\n7=" + longTip + L"\r\n[FileMenu]\r\n2=&Elimina\r\n");
    WriteTextFile(second, L"[OptionsMenu]\r\n0=&Second\r\n[Header]\r\nCulture=Second // xx\r\n");
    ScopedRegistryValue layout(HKEY_CURRENT_USER, L"Keyboard Layout\\Preload", L"1", L"00000409");
    Open();
    frame->SetLanguage(first);
    HMENU menu = ::GetMenu(Frame());
    EXPECT_EQ(MenuText(menu, 3, MF_BYPOSITION), L"&Opzioni");
    EXPECT_EQ(MenuText(menu, ID_OPTIONS_STANDARD), L"Stand&ard\tF5");
    EXPECT_EQ(MenuText(menu, ID_OPTIONS_COOKIES), L"Cookies Killer\tCtrl+K");  // no key in the file
    EXPECT_EQ(MenuText(menu, ID_VIEW_LANGUAGE), L"&Lingua\tCtrl+L");
    EXPECT_EQ(MenuText(menu, ID_EDIT_DELETE), L"&Elimina\tShift+Del");
    EXPECT_EQ(MenuText(menu, ID_EDIT_SELECT_ALL), L"Select All\tCtrl+A");
    EXPECT_EQ(MenuPromptOf(ID_EDIT_RECYCLE), L"T2");  // the menu and the toolbar ask different keys
    EXPECT_EQ(ToolBarPromptOf(ID_EDIT_RECYCLE), L"S2");
    EXPECT_EQ(MenuPromptOf(ID_EDIT_INVERT_SELECTION), L"Inverti selezione ");
    EXPECT_EQ(ToolTipOf(ID_EDIT_RECYCLE), L"T2");
    EXPECT_EQ(NarrowToolTipOf(ID_EDIT_RECYCLE), "T2");
    EXPECT_EQ(ToolTipOf(ID_OPTIONS_STANDARD), longTip.substr(0, 79));
    EXPECT_EQ(NarrowToolTipOf(ID_OPTIONS_STANDARD).size(), 79u);
    EXPECT_EQ(ToolTipOf(ID_FILE_OPEN), L"");  // a command without a button has no tip

    // The Language command with the second file; a cancelled dialog changes nothing.
    frame->m_chooseLanguageFile = [](HWND) { return std::optional<std::wstring>(); };
    ::SendMessageW(Frame(), WM_COMMAND, ID_VIEW_LANGUAGE, 0);
    EXPECT_EQ(app.m_strLanguage, first);
    frame->m_chooseLanguageFile = [&](HWND) { return std::optional<std::wstring>(second); };
    ::SendMessageW(Frame(), WM_COMMAND, ID_VIEW_LANGUAGE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !messages.empty(); }));  // the view heard of the change
    EXPECT_EQ(messages, std::vector<std::wstring>{L"Second "});
    EXPECT_EQ(MenuText(menu, 3, MF_BYPOSITION), L"&Second");
    EXPECT_EQ(MenuText(menu, ID_OPTIONS_STANDARD), L"Standard\tF5");
    EXPECT_EQ(MenuText(menu, ID_VIEW_LANGUAGE), L"&Language\tCtrl+L");
    EXPECT_EQ(MenuText(menu, ID_EDIT_DELETE), L"&Delete\tShift+Del");
    // Every item relabelled keeps the resource's key text after its one tab.
    HMENU resource = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    const std::map<UINT, std::wstring> relabelled = Captions(menu);
    for (const auto& [id, caption] : Captions(resource)) {
        auto keyText = [](const std::wstring& text) { return text.substr(std::min(text.find(L'\t'), text.size())); };
        EXPECT_EQ(keyText(relabelled.at(id)), keyText(caption)) << id;
    }
    ::DestroyMenu(resource);
    EXPECT_EQ(ToolTipOf(ID_EDIT_RECYCLE), L"Recycle Bin");
    Close();
    EXPECT_EQ(StoredLanguage(), second);
}

TEST_F(MainFrameTest, ToolBarButtonsFollowTheEnablingRulesIdleAndDuringAClean) {
    ScopedRegistryValue layout(HKEY_CURRENT_USER, L"Keyboard Layout\\Preload", L"1", L"00000409");
    Open();
    CListController& view = *frame->GetView();
    auto buttons = [&] {
        std::string states;
        for (UINT id : kToolBarCommands) states += frame->ToolBar().IsButtonEnabled(id) ? 'Y' : 'N';
        return states;
    };
    EXPECT_EQ(buttons(), "YYYNNNN");  // an empty list
    for (int i = 0; i < 3; ++i) {
        std::wstring file = folder / (L"f" + std::to_wstring(i) + L".tmp");
        WriteFileBytes(file, "x");
        ASSERT_TRUE(AddExistingItem(view, file));
    }
    view.List().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(buttons(), "YYYYYYY");
    // Ctrl+U through the frame's keys, then a click on the Select All button.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] |= 0x80;
    ::SetKeyboardState(keys);
    MSG key{Frame(), WM_KEYDOWN, 'U', 0, 0, {}};
    EXPECT_TRUE(::TranslateAcceleratorW(Frame(), frame->GetAccelerators(), &key));
    keys[VK_CONTROL] &= 0x7F;
    ::SetKeyboardState(keys);
    EXPECT_EQ(view.List().GetSelectedCount(), 0);
    RECT button{};
    frame->ToolBar().SendMessage(TB_GETRECT, ID_EDIT_SELECT_ALL, reinterpret_cast<LPARAM>(&button));
    LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    frame->ToolBar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    frame->ToolBar().SendMessage(WM_LBUTTONUP, 0, at);
    EXPECT_EQ(view.List().GetSelectedCount(), 3);
    EXPECT_EQ(buttons(), "YYYYYNY");
    view.List().SetItemState(2, 0, LVIS_SELECTED);  // a row stays: no next scan after the clean

    HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    view.m_removeItem = [go](const std::wstring&, bool) { ::WaitForSingleObject(go, 20000); };
    view.m_shell.confirmPermanent = [](HWND, IListViewHost&, const SelectionAmount&) { return true; };
    ::SendMessageW(Frame(), WM_COMMAND, ID_EDIT_DELETE, 0);
    EXPECT_EQ(buttons(), "NNNNNNY");
    std::wstring title = win::CWnd(Frame()).GetWindowText();
    ::SendMessageW(Frame(), WM_COMMAND, ID_OPTIONS_STANDARD, 0);  // as its key would: greyed, so nothing
    EXPECT_EQ(win::CWnd(Frame()).GetWindowText(), title);
    ::SetEvent(go);
    ASSERT_TRUE(WaitUntil([&] { return !view.m_bBusy; }));
    ::CloseHandle(go);
    EXPECT_EQ(buttons(), "YYYNNYN");
}

TEST_F(MainFrameTest, APlacementStoredMinimisedOrNarrowGivesTheFirstPlaceAndAMaximisedOneItsRectangle) {
    const RECT first{80, 66, 880, 522};
    auto reopened = [&] {
        return ChooseWindowPlacement(app.GetProfileInt(L"Location", L"Top", 0), app.GetProfileInt(L"Location", L"Left", 0),
                                     app.GetProfileInt(L"Location", L"Width", 0),
                                     app.GetProfileInt(L"Location", L"Height", 0));
    };
    const struct {
        int show;
        int width;
    } cases[] = {{SW_MINIMIZE, 700}, {SW_SHOWNORMAL, 450}, {SW_MAXIMIZE, 700}};
    for (const auto& c : cases) {
        Open();
        ::MoveWindow(Frame(), 30, 40, c.width, 400, TRUE);
        ::ShowWindow(Frame(), c.show);
        RECT closing{};
        ::GetWindowRect(Frame(), &closing);
        Close();
        RECT rc = reopened();
        if (c.show == SW_MAXIMIZE) EXPECT_TRUE(::EqualRect(&rc, &closing));
        else EXPECT_TRUE(::EqualRect(&rc, &first)) << c.show << " " << rc.left << "," << rc.top;
    }
}

TEST_F(MainFrameTest, TheFirstStartChoosesByKeyboardLayoutAndAStoredChoiceWins) {
    const std::wstring italian = GetLangFolder() + L"\\italiano.lng";
    const struct {
        const wchar_t* layout;
        const wchar_t* stored;  // nullptr: nothing stored
        std::wstring expected;
    } cases[] = {
        {L"00000804", nullptr, GetLangFolder() + L"\\s_chinese.lng"},
        {L"00000c04", nullptr, L"Default"},  // the layout is compared letter case included
        {L"00000409", nullptr, L"Default"},
        {L"00000804", italian.c_str(), italian},
    };
    for (const auto& c : cases) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        if (c.stored) app.WriteProfileString(ReadUserName(), L"src", c.stored);
        ScopedRegistryValue layout(HKEY_CURRENT_USER, L"Keyboard Layout\\Preload", L"1", c.layout);
        Open();
        EXPECT_EQ(app.m_strLanguage, c.expected) << c.layout;
        if (c.expected != L"Default") {
            wchar_t title[300] = {};
            ::GetPrivateProfileStringW(L"FileMenu", L"0", L"", title, 300, c.expected.c_str());
            EXPECT_EQ(MenuText(::GetMenu(Frame()), 0, MF_BYPOSITION), title);
        }
        Close();
        EXPECT_EQ(StoredLanguage(), c.expected);
    }
}


TEST_F(MainFrameTest, APermanentCleanAsksFirstFromEveryRouteAndDoNotAskAgainIsKept) {
    EXPECT_EQ(PermanentDeleteQuestion({3510, 201955164, 0}),
              L"Permanently delete 3,510 items (192.6 MB)? This cannot be undone.");
    EXPECT_EQ(PermanentDeleteQuestion({1, 512, 0}), L"Permanently delete 1 item (512 bytes)? This cannot be undone.");
    EXPECT_EQ(PermanentDeleteQuestion({4, 2048, 2}),
              L"Permanently delete 4 items (2.0 KB, 2 folders still measuring\u2026)? This cannot be undone.");

    ScopedRegistryValue layout(HKEY_CURRENT_USER, L"Keyboard Layout\\Preload", L"1", L"00000409");
    Open();
    CListController& view = *frame->GetView();
    view.SetUpList();  // the columns, where the size of a file row stands
    std::vector<std::wstring> removed;
    view.m_removeItem = [&removed](const std::wstring& path, bool) { removed.push_back(path); };
    auto toolbar = [&] {
        RECT button{};
        frame->ToolBar().SendMessage(TB_GETRECT, ID_EDIT_DELETE, reinterpret_cast<LPARAM>(&button));
        LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        frame->ToolBar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        frame->ToolBar().SendMessage(WM_LBUTTONUP, 0, at);
    };
    auto shiftDelete = [&] {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] |= 0x80;
        ::SetKeyboardState(keys);
        MSG key{Frame(), WM_KEYDOWN, VK_DELETE, 0, 0, {}};
        ::TranslateAcceleratorW(Frame(), frame->GetAccelerators(), &key);
        keys[VK_SHIFT] &= 0x7F;
        ::SetKeyboardState(keys);
    };
    auto menu = [&] { ::SendMessageW(Frame(), WM_COMMAND, ID_EDIT_DELETE, 0); };
    auto recycle = [&] { ::SendMessageW(Frame(), WM_COMMAND, ID_EDIT_RECYCLE, 0); };
    const struct {
        const char* route;
        std::function<void()> command;
        int button;
        bool tick;
        int dialogs;  // how many questions it met
        bool cleaned;
    } steps[] = {
        {"toolbar, No", toolbar, IDNO, false, 1, false},
        {"menu, No with the box ticked", menu, IDNO, true, 1, false},
        {"recycle", recycle, IDYES, false, 0, true},
        {"toolbar, Yes", toolbar, IDYES, false, 1, true},
        {"Shift+Del, Yes, do not ask again", shiftDelete, IDYES, true, 1, true},
        {"menu, no more asked", menu, IDYES, false, 0, true},
    };
    int files = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.route);
        std::wstring file = folder / (L"wallpaper" + std::to_wstring(++files) + L".bmp");
        WriteFileBytes(file, std::string(1000, 'x'));
        ASSERT_TRUE(AddExistingItem(view, file));
        view.List().SetItemState(-1, 0, LVIS_SELECTED);
        view.List().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);  // the newest row is the first
        removed.clear();
        ConfirmAnswer answer;
        answer.button = step.button;
        answer.tick = step.tick;
        {
            CConfirmAnswerer answering(answer);
            step.command();
        }
        ASSERT_TRUE(WaitUntil([&] { return !view.m_bBusy; }));
        EXPECT_EQ(answer.dialogs, step.dialogs);
        if (step.dialogs) {
            EXPECT_EQ(answer.question, L"Permanently delete 1 item (1000 bytes)? This cannot be undone.");
        }
        EXPECT_EQ(removed, step.cleaned ? std::vector<std::wstring>{file} : std::vector<std::wstring>{});
    }
    EXPECT_EQ(app.GetProfileInt(app.m_szUserName, L"askPermanent", 1), 0);
}
