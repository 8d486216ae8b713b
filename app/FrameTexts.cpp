#include "app/FrameTexts.h"

#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "policy/Policies.h"
#include "res/resource.h"
#include "view/CommandAvailability.h"

namespace {
using enum LangId;

struct ItemText {
    UINT id;
    LangId text;
    const wchar_t* keyText;  // appended after the caption
};

// Invert Selection has no key: neither the accelerators nor the menu resource give it one.
constexpr ItemText kItems[] = {
    {ID_FILE_OPEN, FileOpen, L""},
    {ID_EDIT_DELETE, FileDelete, L"\tShift+Del"},
    {ID_EDIT_RECYCLE, FileRecycle, L"\tDel"},
    {ID_APP_EXIT, FileExit, L""},
    {ID_EDIT_SELECT_ALL, EditSelectAll, L"\tCtrl+A"},
    {ID_EDIT_UNSELECT_ALL, EditUnselectAll, L"\tCtrl+U"},
    {ID_EDIT_INVERT_SELECTION, EditInvert, L""},
    {ID_VIEW_TOOLBAR, ViewToolbar, L""},
    {ID_VIEW_STATUS_BAR, ViewStatusBar, L""},
    {ID_VIEW_LANGUAGE, ViewLanguage, L"\tCtrl+L"},
    {ID_OPTIONS_COOKIES, OptionsCookies, L"\tCtrl+K"},
    {ID_OPTIONS_OFFLINE_TEMP, OptionsOfflineTemp, L"\tCtrl+H"},
    {ID_OPTIONS_STANDARD, OptionsStandard, L"\tF5"},
    {ID_OPTIONS_RULES, OptionsRules, L""},
    {ID_OPTIONS_BROWSERS, OptionsBrowsers, L""},
    {ID_HELP_ONLINE, HelpOnline, L""},
    {ID_HELP_UPDATE, HelpUpdate, L""},
    {ID_APP_ABOUT, HelpAbout, L""},
};

constexpr LangId kPopups[] = {FileMenu, EditMenu, ViewMenu, OptionsMenu, HelpMenu};

struct CommandText {
    UINT id;
    LangId text;
};

constexpr CommandText kMenuPrompts[] = {
    {ID_EDIT_DELETE, StatusDelete},        {ID_EDIT_RECYCLE, PromptRecycle},
    {ID_EDIT_SELECT_ALL, PromptSelectAll}, {ID_EDIT_UNSELECT_ALL, PromptUnselectAll},
    {ID_OPTIONS_COOKIES, PromptCookies},   {ID_OPTIONS_OFFLINE_TEMP, StatusOfflineTemp},
    {ID_OPTIONS_STANDARD, StatusStandard}, {ID_APP_ABOUT, StatusAbout},
    {ID_APP_EXIT, StatusExit},             {ID_VIEW_TOOLBAR, StatusToolbar},
    {ID_VIEW_STATUS_BAR, StatusStatusBar},      {ID_OPTIONS_RULES, StatusRules},
    {ID_OPTIONS_BROWSERS, StatusBrowsers},
};

constexpr CommandText kToolBarPrompts[] = {
    {ID_EDIT_DELETE, StatusDelete},        {ID_EDIT_RECYCLE, StatusRecycle},
    {ID_EDIT_SELECT_ALL, PromptSelectAll}, {ID_EDIT_UNSELECT_ALL, PromptUnselectAll},
    {ID_OPTIONS_COOKIES, PromptCookies},   {ID_OPTIONS_OFFLINE_TEMP, StatusOfflineTemp},
    {ID_OPTIONS_STANDARD, StatusStandard},
};

constexpr CommandText kToolTips[] = {
    {ID_EDIT_DELETE, TipDelete},   {ID_EDIT_RECYCLE, TipRecycle},   {ID_EDIT_SELECT_ALL, TipSelectAll},
    {ID_EDIT_UNSELECT_ALL, TipUnselectAll}, {ID_OPTIONS_COOKIES, TipCookies},
    {ID_OPTIONS_OFFLINE_TEMP, TipOfflineTemp}, {ID_OPTIONS_STANDARD, TipStandard},
};

template <size_t N>
const CommandText* Find(const CommandText (&table)[N], UINT id) {
    for (const CommandText& entry : table)
        if (entry.id == id) return &entry;
    return nullptr;
}

// The Invert Selection caption serves as its prompt: without the part that
// names its key in brackets, "反向选择(&I)", and without accelerator marks.
std::wstring PromptFromCaption(std::wstring caption) {
    caption = caption.substr(0, caption.find(L'('));
    std::wstring out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

std::optional<std::wstring> PolicyPrompt(UINT id) {
    CommandState state;
    ApplyPolicies(state, *CurrentPolicies());
    if (!TurnedOffByPolicy(id, state)) return std::nullopt;
    return GetUiText(id == ID_OPTIONS_RULES ? StatusRulesByPolicy : StatusTurnedOff);
}

}  // namespace

std::wstring PopupCaption(int position) {
    if (position < 0 || position >= static_cast<int>(std::size(kPopups))) return {};
    return GetLangString(kPopups[position]);
}

std::optional<std::wstring> ItemCaption(UINT id) {
    for (const ItemText& item : kItems)
        if (item.id == id) return GetLangString(item.text) + item.keyText;
    return std::nullopt;
}

std::wstring MenuPrompt(UINT id) {
    if (std::optional<std::wstring> turnedOff = PolicyPrompt(id)) return *turnedOff;
    if (IsDefaultLanguage()) return LoadResPrefix(id);
    if (id == ID_EDIT_INVERT_SELECTION) return PromptFromCaption(GetLangString(EditInvert));
    const CommandText* entry = Find(kMenuPrompts, id);
    return entry ? GetLangString(entry->text) : LoadResPrefix(id);
}

std::wstring ToolBarPrompt(UINT id) {
    if (std::optional<std::wstring> turnedOff = PolicyPrompt(id)) return *turnedOff;
    const CommandText* entry = Find(kToolBarPrompts, id);
    return IsDefaultLanguage() || !entry ? LoadResPrefix(id) : GetLangString(entry->text);
}

std::wstring ToolTipText(UINT id) {
    if (std::optional<std::wstring> turnedOff = PolicyPrompt(id)) return *turnedOff;
    if (IsDefaultLanguage()) return LoadResSuffix(id, L'\n');
    const CommandText* entry = Find(kToolTips, id);
    return entry ? GetLangString(entry->text) : std::wstring();
}
