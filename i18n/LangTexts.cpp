#include "i18n/LangTexts.h"

#include <array>

#include "i18n/Lang.h"
#include "res/resource.h"
#include "win/Text.h"

namespace {
using enum LangId;
using enum BuiltIn;

constexpr LangText Lit(LangId id, const wchar_t* section, const wchar_t* key, const wchar_t* text) {
    return {id, section, key, Literal, text, 0};
}
constexpr LangText Res(LangId id, const wchar_t* section, const wchar_t* key, BuiltIn from, UINT resource) {
    return {id, section, key, from, nullptr, resource};
}

constexpr std::array<LangText, static_cast<size_t>(Count)> kTable = {{
    Res(TitleStandard, L"Title", L"1", ResPrefix, IDS_TITLE_STANDARD),
    Res(TitleCookies, L"Title", L"2", ResPrefix, ID_OPTIONS_COOKIES),
    Res(TitleOfflineTemp, L"Title", L"3", ResShortName, ID_OPTIONS_OFFLINE_TEMP),
    Lit(TitleAdvance, L"Title", L"4", L"Advance"),
    Lit(TitleAbout, L"Title", L"5", L"About"),
    Lit(Label1, L"Labels", L"1", L"AutoComplete &Passwords"),
    Lit(Label2, L"Labels", L"2", L"&Find History"),
    Lit(Label3, L"Labels", L"3", L"Recent &Documents"),
    Lit(Label4, L"Labels", L"4", L"&Run History"),
    Lit(Label5, L"Labels", L"5", L"&Typed URL"),
    Lit(Label6, L"Labels", L"6", L"Ur&l History"),
    Lit(ButtonClean, L"Buttons", L"2", L"Clea&n"),
    Lit(ButtonCancel, L"Buttons", L"3", L"&Cancel"),
    Res(Column1, L"Columns", L"1", ResPrefix, IDS_COLUMN_FILE_NAME),
    Res(Column2, L"Columns", L"2", ResPrefix, IDS_COLUMN_TYPE),
    Res(Column3, L"Columns", L"3", ResPrefix, IDS_COLUMN_SIZE),
    Res(Column4, L"Columns", L"4", ResPrefix, IDS_COLUMN_DATE_MODIFIED),
    Lit(Culture, L"Header", L"Culture", L"English"),
    Res(StatusDelete, L"Status", L"1", ResPrefix, ID_EDIT_DELETE),
    Res(StatusRecycle, L"Status", L"2", ResPrefix, ID_EDIT_RECYCLE),
    Res(StatusToolbar, L"Status", L"3", ResPrefix, ID_VIEW_TOOLBAR),
    Res(StatusStatusBar, L"Status", L"4", ResPrefix, ID_VIEW_STATUS_BAR),
    Res(StatusStandard, L"Status", L"5", ResPrefix, ID_OPTIONS_STANDARD),
    Res(StatusOfflineTemp, L"Status", L"6", ResPrefix, ID_OPTIONS_OFFLINE_TEMP),
    Res(StatusAbout, L"Status", L"7", ResPrefix, ID_APP_ABOUT),
    Res(StatusReady, L"Status", L"8", ResPrefix, AFX_IDS_IDLEMESSAGE),
    Res(StatusSelected, L"Status", L"9", ResShortName, AFX_IDS_IDLEMESSAGE),
    Res(StatusExit, L"Status", L"10", ResPrefix, ID_APP_EXIT),
    Res(StatusDeleting, L"Status", L"11", Resource, IDS_DELETING),
    Res(StatusUpdateAddress, L"status", L"12", ResPrefix, IDS_HOME_PAGE),
    Res(StatusNothingSelected, L"Status", L"13", ResPrefix, AFX_IDS_IDLEMESSAGE),
    Lit(StatusCompleted, L"Status", L"14", L"Completed"),
    Lit(StatusOpenQuestion, L"Status", L"15", L""),
    Lit(StatusOpenCaption, L"Status", L"16", L""),
    Res(StatusRules, L"Status", L"17", ResPrefix, ID_OPTIONS_RULES),
    Lit(StatusRulesByPolicy, L"Status", L"19", L"Your organisation's policy sets the rules file"),
    Lit(StatusTurnedOff, L"Status", L"20", L"Turned off by your administrator"),
    Res(TipDelete, L"ToolTips", L"1", ResShortName, ID_EDIT_DELETE),
    Res(TipRecycle, L"ToolTips", L"2", ResShortName, ID_EDIT_RECYCLE),
    Res(TipSelectAll, L"ToolTips", L"3", ResShortName, ID_EDIT_SELECT_ALL),
    Res(TipUnselectAll, L"ToolTips", L"4", ResShortName, ID_EDIT_UNSELECT_ALL),
    Res(TipStandard, L"ToolTips", L"7", ResShortName, ID_OPTIONS_STANDARD),
    Res(TipCookies, L"ToolTips", L"8", ResShortName, ID_OPTIONS_COOKIES),
    Res(TipOfflineTemp, L"ToolTips", L"9", ResShortName, ID_OPTIONS_OFFLINE_TEMP),
    Res(PromptRecycle, L"ToolTips", L"2", ResPrefix, ID_EDIT_RECYCLE),
    Res(PromptSelectAll, L"ToolTips", L"3", ResPrefix, ID_EDIT_SELECT_ALL),
    Res(PromptUnselectAll, L"ToolTips", L"4", ResPrefix, ID_EDIT_UNSELECT_ALL),
    Res(PromptCookies, L"ToolTips", L"8", ResPrefix, ID_OPTIONS_COOKIES),
    Lit(FileMenu, L"FileMenu", L"0", L"&File"),
    Lit(FileOpen, L"FileMenu", L"1", L"&Open"),
    Lit(FileDelete, L"FileMenu", L"2", L"&Delete"),
    Lit(FileRecycle, L"FileMenu", L"3", L"&Move &to Recycle Bin"),
    Lit(FileExit, L"FileMenu", L"4", L"E&xit"),
    Lit(EditMenu, L"EditMenu", L"0", L"&Edit"),
    Res(EditSelectAll, L"EditMenu", L"1", ResShortName, ID_EDIT_SELECT_ALL),
    Res(EditUnselectAll, L"EditMenu", L"2", ResShortName, ID_EDIT_UNSELECT_ALL),
    Res(EditInvert, L"EditMenu", L"3", ResShortName, ID_EDIT_INVERT_SELECTION),
    Lit(ViewMenu, L"ViewMenu", L"0", L"&View"),
    Lit(ViewToolbar, L"ViewMenu", L"1", L"&Toolbar"),
    Lit(ViewStatusBar, L"ViewMenu", L"2", L"&Status Bar"),
    Lit(ViewLanguage, L"ViewMenu", L"3", L"&Language"),
    Lit(OptionsMenu, L"OptionsMenu", L"0", L"&Options"),
    Res(OptionsCookies, L"OptionsMenu", L"1", ResShortName, ID_OPTIONS_COOKIES),
    Res(OptionsOfflineTemp, L"OptionsMenu", L"2", ResShortName, ID_OPTIONS_OFFLINE_TEMP),
    Res(OptionsStandard, L"OptionsMenu", L"3", ResShortName, ID_OPTIONS_STANDARD),
    Lit(OptionsRules, L"OptionsMenu", L"4", L"Extra &Rules..."),
    Lit(HelpMenu, L"HelpMenu", L"0", L"&Help"),
    Lit(HelpOnline, L"HelpMenu", L"1", L"&Online Help"),
    Lit(HelpUpdate, L"HelpMenu", L"2", L"&Update"),
    Lit(HelpAbout, L"HelpMenu", L"3", L"&About Brisko .NET..."),
    Lit(SummaryRemoved, L"Summary", L"1", L"Removed %1 items (%2)"),
    Lit(SummaryRemovedOne, L"Summary", L"2", L"Removed 1 item (%1)"),
    Lit(SummaryPartly, L"Summary", L"3", L"%1 partly removed: %2 of %3 files"),
    Lit(SummaryLeft, L"Summary", L"4", L"%1 left"),
    Lit(SummaryGone, L"Summary", L"5", L"%1 already gone"),
    Lit(ReasonMissing, L"Reasons", L"1", L"gone"),
    Lit(ReasonUnresolvable, L"Reasons", L"2", L"unreachable"),
    Lit(ReasonLink, L"Reasons", L"3", L"linked"),
    Lit(ReasonProtected, L"Reasons", L"4", L"protected"),
    Lit(ReasonInUse, L"Reasons", L"5", L"in use"),
    Lit(ReasonAccessDenied, L"Reasons", L"6", L"access denied"),
    Lit(ReasonFailed, L"Reasons", L"7", L"refused"),
    Lit(ReasonOddName, L"Reasons", L"8", L"odd name"),
    Lit(ReasonExcluded, L"Reasons", L"9", L"kept by policy"),
    Lit(ReasonRecycleRefused, L"Reasons", L"10", L"refused by the Recycle Bin"),
    Lit(ReasonNotEmpty, L"Reasons", L"11", L"still holding files"),
    Lit(ConfirmDelete, L"Confirm", L"1", L"Permanently delete %1 items (%2)? This cannot be undone."),
    Lit(ConfirmDeleteOne, L"Confirm", L"2", L"Permanently delete 1 item (%1)? This cannot be undone."),
    Lit(ConfirmFolders, L"Confirm", L"3", L"%1, %2 folders still measuring\u2026"),
    Lit(ConfirmNoAsk, L"Confirm", L"4", L"&Do not ask again"),
    Lit(ConfirmYes, L"Confirm", L"5", L"&Yes"),
    Lit(ConfirmNo, L"Confirm", L"6", L"&No"),
    Lit(ConfirmFolder, L"Confirm", L"7", L"%1, 1 folder still measuring\u2026"),
    Lit(OptionsBrowsers, L"OptionsMenu", L"5", L"&Browsers..."),
    Res(StatusBrowsers, L"Status", L"18", ResPrefix, ID_OPTIONS_BROWSERS),
    Lit(TitleBrowsers, L"Browsers", L"0", L"Browsers"),
    Lit(BrowsersColumnBrowser, L"Browsers", L"1", L"Browser"),
    Lit(BrowsersColumnProfile, L"Browsers", L"2", L"Profile"),
    Lit(BrowsersColumnState, L"Browsers", L"3", L"State"),
    Lit(BrowsersHistory, L"Browsers", L"4", L"&History"),
    Lit(BrowsersDownloads, L"Browsers", L"5", L"&Download history"),
    Lit(BrowsersCookies, L"Browsers", L"6", L"C&ookies"),
    Lit(BrowsersForms, L"Browsers", L"7", L"&Form data"),
    Lit(BrowsersSessions, L"Browsers", L"8", L"&Sessions (closes the open tabs for good)"),
    Lit(BrowsersCache, L"Browsers", L"9", L"C&ache"),
    Lit(BrowsersKeepLabel, L"Browsers", L"10", L"Sites whose cookies to &keep (one a line):"),
    Lit(BrowsersPreview, L"Browsers", L"11", L"&Preview"),
    Lit(BrowsersClean, L"Browsers", L"12", L"Clea&n"),
    Lit(BrowsersClose, L"Browsers", L"13", L"&Close"),
    Lit(BrowsersReady, L"Browsers", L"14", L"ready"),
    Lit(BrowsersInUse, L"Browsers", L"15", L"in use: close the browser"),
    Lit(BrowsersCountHistory, L"Browsers", L"16", L"History: %1 visits"),
    Lit(BrowsersCountDownloads, L"Browsers", L"17", L"Downloads: %1"),
    Lit(BrowsersCountCookies, L"Browsers", L"18", L"Cookies: %1 (%2 kept)"),
    Lit(BrowsersCountForms, L"Browsers", L"19", L"Form data: %1 entries"),
    Lit(BrowsersCountSessions, L"Browsers", L"20", L"Sessions: %1"),
    Lit(BrowsersCountCache, L"Browsers", L"21", L"Cache: %1"),
    Lit(BrowsersCleaned, L"Browsers", L"22", L"cleaned"),
    Lit(BrowsersLeft, L"Browsers", L"23", L"left: %1"),
    Lit(BrowsersNotADatabase, L"Browsers", L"24", L"not a valid SQLite database"),
    Lit(BrowsersDamaged, L"Browsers", L"25", L"damaged (its integrity check failed)"),
    Lit(BrowsersFailed, L"Browsers", L"26", L"could not be changed"),
    Lit(BrowsersItemLeft, L"Browsers", L"27", L"a file stayed (in use or a link)"),
    Lit(BrowsersRefused, L"Browsers", L"28", L"refused: its folder is outside your user folder"),
    Lit(BrowsersExcluded, L"Browsers", L"29", L"left: a policy excludes its folder"),
    Lit(BrowsersUnsafe, L"Browsers", L"30", L"a link or a file with more than one name (never written)"),
    Lit(BrowsersExcludedItem, L"Browsers", L"31", L"excluded by a policy"),
    Lit(BrowsersAsk, L"Browsers", L"32", L"Clean %1 from %2 profiles? This cannot be undone."),
    Lit(BrowsersAskOne, L"Browsers", L"33", L"Clean %1 from 1 profile? This cannot be undone."),
    Lit(BrowsersAskVisits, L"Browsers", L"34", L"%1 visits"),
    Lit(BrowsersAskDownloads, L"Browsers", L"35", L"%1 downloads"),
    Lit(BrowsersAskCookies, L"Browsers", L"36", L"%1 cookies (%2 kept)"),
    Lit(BrowsersAskForms, L"Browsers", L"37", L"%1 form entries"),
    Lit(BrowsersAskSessions, L"Browsers", L"38", L"sessions (%1)"),
    Lit(BrowsersAskCache, L"Browsers", L"39", L"cache (%1)"),
    Lit(BrowsersUnmatched, L"Browsers", L"40", L"kept sites with no cookie: %1"),
    Lit(BrowsersCookiesCleaned, L"Browsers", L"41", L"cookies cleaned, %1 kept"),
    Lit(ListSelectionSize, L"List", L"SelectionSize", L"%1 in %2 selected"),
    Lit(ListSelectionSizeFolders, L"List", L"SelectionSizeFolders", L"%1 in %3 selected, %2 folders measuring\u2026"),
    Lit(ListSelectionSizeFolder, L"List", L"SelectionSizeFolder", L"%1 in %3 selected, 1 folder measuring\u2026"),
    Lit(ListScanning, L"List", L"Scanning", L"%1 - scanning %2"),
    Lit(ListLeftRow, L"List", L"LeftRow", L"Not removed: %1"),
    Lit(NoticeTempRefused, L"Notices", L"TempRefused", L"%1 points to %2: not cleaned"),
    Lit(NoticeDriveNotVolume, L"Notices", L"DriveNotVolume", L"%1 is not the root of a volume: its drive targets are not looked for"),
    Lit(NoticeExcludeUnresolved, L"Notices", L"ExcludeUnresolved", L"%1 names no place on this machine that can be resolved; that entry is ignored"),
    Lit(TypeFile, L"List", L"TypeFile", L"File"),
    Lit(TypeExtensionFile, L"List", L"TypeExtensionFile", L"%1 File"),
    Lit(TitleSelectLanguage, L"Title", L"6", L"Select Language"),
    Lit(LabelLanguageFiles, L"Labels", L"7", L"Brisko .NET Language Files"),
    Lit(LabelVersion, L"Labels", L"8", L"Version %1"),
    Lit(LabelCredit, L"Labels", L"9", L"Brisko team"),
    Lit(ButtonOk, L"Buttons", L"4", L"OK"),
    Lit(NoticeRulesUnreadable, L"Notices", L"RulesUnreadable", L"policy RulesFile: cannot read %1"),
    Lit(RulesTitle, L"Rules", L"0", L"Extra Rules"),
    Lit(RulesFile, L"Rules", L"1", L"&File..."),
    Lit(RulesNoFile, L"Rules", L"2", L"No rules file is chosen: choose one with File..."),
    Lit(RulesSearch, L"Rules", L"3", L"&Search:"),
    Lit(RulesOk, L"Rules", L"4", L"OK"),
    Lit(RulesCancel, L"Rules", L"5", L"Cancel"),
    Lit(RulesAmount, L"Rules", L"6", L"%1 items, %2"),
    Lit(RulesNotHere, L"Rules", L"7", L"does not apply here"),
    Lit(RulesMeasuring, L"Rules", L"8", L"measuring %1 of %2 entries..."),
    Lit(RulesSummary, L"Rules", L"9", L"%1 of %2 entries apply here; %3 on"),
    Lit(RulesWarning, L"Rules", L"10", L"Warning: %1"),
    Lit(RulesAskWarning, L"Rules", L"11", L"\"%2\" warns: %1 Turn it on all the same?"),
    Lit(RulesNoGroup, L"Rules", L"12", L"(no group)"),
    Lit(RulesAmountOne, L"Rules", L"13", L"1 item, %1"),
    Lit(ListRegistryKey, L"List", L"RegistryKey", L"Registry key"),
    Lit(ListRegistryValue, L"List", L"RegistryValue", L"Registry value"),
}};

constexpr bool InIdOrder() {
    for (size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<size_t>(kTable[i].id) != i) return false;
    return true;
}
static_assert(InIdOrder(), "the table lists its entries in LangId order");
}  // namespace

std::span<const LangText> AllLangTexts() { return kTable; }

const LangText& LangTextOf(LangId id) { return kTable[static_cast<size_t>(id)]; }

std::wstring BuiltInText(LangId id) {
    const LangText& text = LangTextOf(id);
    switch (text.from) {
    case Literal:
        return text.literal;
    case Resource:
        return win::LoadResString(text.resource);
    case ResPrefix:
        return LoadResPrefix(text.resource);
    case ResShortName:
        return LoadResSuffix(text.resource, L'\n');
    }
    return {};
}

std::wstring GetLangString(LangId id) {
    const LangText& text = LangTextOf(id);
    return GetLangString(text.section, text.key, BuiltInText(id));
}

std::wstring GetUiText(LangId id) {
    return IsDefaultLanguage() ? BuiltInText(id) : GetLangString(id);
}

std::wstring FillInLangText(LangId id, std::initializer_list<std::wstring> values) {
    std::wstring text = GetUiText(id);
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t index = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - L'1') : values.size();
        if (text[i] == L'%' && index < values.size()) {
            out += values.begin()[index];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
