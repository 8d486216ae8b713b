#pragma once
// Every text the program reads from a language file, in one table: its
// section, its key and its built-in English form. A language file is
// complete when it answers every entry.
#include <windows.h>

#include <initializer_list>
#include <span>
#include <string>

enum class LangId : int {
    // Window and dialog captions.
    TitleStandard, TitleCookies, TitleOfflineTemp, TitleAdvance, TitleAbout,
    // The option buttons and the two push buttons of the Advance dialog.
    Label1, Label2, Label3, Label4, Label5, Label6, ButtonClean, ButtonCancel,
    // The list's column headings, in column order.
    Column1, Column2, Column3, Column4,
    Culture,
    // Status-bar texts: prompts of commands, the idle and selection texts.
    StatusDelete, StatusRecycle, StatusToolbar, StatusStatusBar, StatusStandard, StatusOfflineTemp,
    StatusAbout, StatusReady, StatusSelected, StatusExit, StatusDeleting, StatusUpdateAddress,
    StatusNothingSelected, StatusCompleted, StatusOpenQuestion, StatusOpenCaption, StatusRules,
    StatusRulesByPolicy, StatusTurnedOff,
    // Tool tips of the toolbar buttons.
    TipDelete, TipRecycle, TipSelectAll, TipUnselectAll, TipStandard, TipCookies, TipOfflineTemp,
    // The same keys of section "ToolTips" serve some menu prompts, with the
    // command's prompt as their default.
    PromptRecycle, PromptSelectAll, PromptUnselectAll, PromptCookies,
    // Menu titles and item captions.
    FileMenu, FileOpen, FileDelete, FileRecycle, FileExit,
    EditMenu, EditSelectAll, EditUnselectAll, EditInvert,
    ViewMenu, ViewToolbar, ViewStatusBar, ViewLanguage,
    OptionsMenu, OptionsCookies, OptionsOfflineTemp, OptionsStandard, OptionsRules,
    HelpMenu, HelpOnline, HelpUpdate, HelpAbout,
    // The summary of a clean, and why an item stays.
    SummaryRemoved, SummaryRemovedOne, SummaryPartly, SummaryLeft, SummaryGone,
    ReasonMissing, ReasonUnresolvable, ReasonLink, ReasonProtected, ReasonInUse, ReasonAccessDenied, ReasonFailed,
    ReasonOddName, ReasonExcluded, ReasonRecycleRefused, ReasonNotEmpty,
    // The question before a permanent clean.
    ConfirmDelete, ConfirmDeleteOne, ConfirmFolders, ConfirmNoAsk, ConfirmYes, ConfirmNo, ConfirmFolder,
    // Options > Browsers and its dialog: the caption, the list's columns, the
    // kinds (in the order of the trace kinds), the keep-list, the buttons,
    // the states, the counts ("%1" and "%2" stand for numbers) and the outcomes.
    OptionsBrowsers, StatusBrowsers, TitleBrowsers,
    BrowsersColumnBrowser, BrowsersColumnProfile, BrowsersColumnState,
    BrowsersHistory, BrowsersDownloads, BrowsersCookies, BrowsersForms, BrowsersSessions, BrowsersCache,
    BrowsersKeepLabel, BrowsersPreview, BrowsersClean, BrowsersClose,
    BrowsersReady, BrowsersInUse,
    BrowsersCountHistory, BrowsersCountDownloads, BrowsersCountCookies, BrowsersCountForms, BrowsersCountSessions,
    BrowsersCountCache,
    BrowsersCleaned, BrowsersLeft, BrowsersNotADatabase, BrowsersDamaged, BrowsersFailed, BrowsersItemLeft,
    BrowsersRefused, BrowsersExcluded, BrowsersUnsafe, BrowsersExcludedItem,
    // The question before a browser clean and its parts, the kept sites no
    // cookie matched, and a cookie database Cookies Killer cleaned around the kept sites.
    BrowsersAsk, BrowsersAskOne, BrowsersAskVisits, BrowsersAskDownloads, BrowsersAskCookies, BrowsersAskForms,
    BrowsersAskSessions, BrowsersAskCache, BrowsersUnmatched, BrowsersCookiesCleaned,
    // The list's own texts: the selection's size, a scan's progress, a row a clean left.
    ListSelectionSize, ListSelectionSizeFolders, ListSelectionSizeFolder, ListScanning, ListLeftRow,
    // What a scan leaves out on this machine, told once: a temporary folder
    // that points elsewhere, a drive letter that is no volume, an exclusion
    // that names no local place.
    NoticeTempRefused, NoticeDriveNotVolume, NoticeExcludeUnresolved,
    // The window's own words beside those: a type the shell does not name,
    // the language file dialog, the About box, and a policy's rules file
    // that cannot be read.
    TypeFile, TypeExtensionFile, TitleSelectLanguage, LabelLanguageFiles, LabelVersion, LabelCredit, ButtonOk,
    NoticeRulesUnreadable,
    // Options > Extra Rules and its dialog: the caption, the file, the
    // search, the buttons, what an entry would remove ("%1 items, %2"), the
    // measuring and its end, an entry's warning and the question before it
    // is turned on ("%1" the warning, "%2" the entry), entries of no group.
    RulesTitle, RulesFile, RulesNoFile, RulesSearch, RulesOk, RulesCancel, RulesAmount, RulesNotHere,
    RulesMeasuring, RulesSummary, RulesWarning, RulesAskWarning, RulesNoGroup, RulesAmountOne,
    // The Type column of a registry key, or value, a rules entry lists.
    ListRegistryKey, ListRegistryValue,
    Count
};

// Where an entry's built-in text comes from.
enum class BuiltIn : BYTE {
    Literal,      // the text of the entry
    Resource,     // the whole string resource
    ResPrefix,    // the string resource before its first line feed
    ResShortName  // the string resource after its last line feed
};

struct LangText {
    LangId id;
    const wchar_t* section;
    const wchar_t* key;
    BuiltIn from;
    const wchar_t* literal;  // for BuiltIn::Literal
    UINT resource;           // for the other kinds
};

// The whole table, in LangId order.
std::span<const LangText> AllLangTexts();
const LangText& LangTextOf(LangId id);

// The built-in English text of an entry.
std::wstring BuiltInText(LangId id);

// The entry's text from the language file, or its built-in text.
std::wstring GetLangString(LangId id);
// The text a user sees: the built-in text while the setting is "Default",
// else GetLangString.
std::wstring GetUiText(LangId id);

// GetUiText with "%1", "%2", ... replaced by `values` in order. The values
// are put in as they are: a language file cannot make them read anything.
std::wstring FillInLangText(LangId id, std::initializer_list<std::wstring> values);

// The entry `index` places after `first` (the columns, the Advance labels).
inline LangId LangIdAfter(LangId first, int index) { return static_cast<LangId>(static_cast<int>(first) + index); }
