#include "view/StatusTexts.h"

#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "res/resource.h"
#include "clean/CleanSummary.h"
#include "win/SizeText.h"

std::wstring ReadyText() { return GetUiText(LangId::StatusReady); }

std::wstring NothingSelectedText() { return GetUiText(LangId::StatusNothingSelected); }

std::wstring CompletedText() { return GetLangString(LangId::StatusCompleted); }

std::wstring SelectionStatusText(int selected, int rows) {
    if (selected <= 0) return NothingSelectedText();
    return std::to_wstring(selected) + L" / " + std::to_wstring(rows) + L" " +
           GetUiText(LangId::StatusSelected);
}

int ProgressPercent(int startCount, int selected) {
    return startCount < 1 ? 0 : (startCount - selected) * 100 / startCount;
}

std::wstring ProgressTitle(int percent, const std::wstring& modeTitle) {
    return std::to_wstring(percent) + L"% " + CompletedText() + L" - " + modeTitle;
}

std::wstring CompletedTitle(const std::wstring& modeTitle) { return CompletedText() + L" - " + modeTitle; }

std::wstring SelectionSizeText(const ItemAmount& amount, int rows) {
    const std::wstring size = ShortSizeText(amount.bytes), count = GroupedNumber(static_cast<ULONGLONG>(rows));
    if (amount.measuring == 1) return FillInLangText(LangId::ListSelectionSizeFolder, {size, L"1", count});
    if (amount.measuring > 0)
        return FillInLangText(LangId::ListSelectionSizeFolders, {size, GroupedNumber(amount.measuring), count});
    return FillInLangText(LangId::ListSelectionSize, {size, count});
}

std::wstring ScanningTitle(const std::wstring& modeName, size_t found) {
    return FillInLangText(LangId::ListScanning, {modeName, GroupedNumber(found)});
}

std::wstring LeftRowStatusText(LeftReason reason) {
    return FillInLangText(LangId::ListLeftRow, {LeftReasonUiText(reason)});
}
