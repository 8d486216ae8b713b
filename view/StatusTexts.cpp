#include "view/StatusTexts.h"

#include "i18n/Lang.h"
#include "res/resource.h"

std::wstring ReadyText() { return GetUiText(L"Status", L"8", LoadResPrefix(AFX_IDS_IDLEMESSAGE)); }

std::wstring NothingSelectedText() { return GetUiText(L"Status", L"13", LoadResPrefix(AFX_IDS_IDLEMESSAGE)); }

std::wstring CompletedText() { return GetLangString(L"Status", L"14", L"Completed"); }

std::wstring SelectionStatusText(int selected, int rows) {
    if (selected <= 0) return NothingSelectedText();
    return std::to_wstring(selected) + L" / " + std::to_wstring(rows) + L" " +
           GetUiText(L"Status", L"9", LoadResSuffix(AFX_IDS_IDLEMESSAGE, L'\n'));
}

int ProgressPercent(int startCount, int selected) {
    return startCount < 1 ? 0 : (startCount - selected) * 100 / startCount;
}

std::wstring ProgressTitle(int percent, const std::wstring& modeTitle) {
    return std::to_wstring(percent) + L"% " + CompletedText() + L" - " + modeTitle;
}

std::wstring CompletedTitle(const std::wstring& modeTitle) { return CompletedText() + L" - " + modeTitle; }
