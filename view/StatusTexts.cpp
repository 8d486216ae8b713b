#include "view/StatusTexts.h"

#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "res/resource.h"
#include "win/Text.h"

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

std::wstring SelectionSizeText(ULONGLONG bytes, int rows, int folders) {
    return win::FillIn(GetUiText(folders > 0 ? LangId::ListSelectionSizeFolders : LangId::ListSelectionSize),
                       {{L"size", win::ShortSizeText(bytes)},
                        {L"count", win::GroupedNumber(static_cast<ULONGLONG>(rows))},
                        {L"folders", win::GroupedNumber(static_cast<ULONGLONG>(folders))}});
}

std::wstring ScanningTitle(const std::wstring& modeName, size_t found) {
    return win::FillIn(GetUiText(LangId::ListScanning), {{L"mode", modeName}, {L"count", win::GroupedNumber(found)}});
}

int CleanTally::Left() const {
    int left = 0;
    for (const auto& [reason, rows] : leftByReason) left += rows;
    return left;
}

std::wstring CleanSummaryText(const CleanTally& tally) {
    const std::wstring removed = win::GroupedNumber(static_cast<ULONGLONG>(tally.removed)),
                       size = win::ShortSizeText(tally.bytesRemoved);
    if (tally.Left() == 0) return win::FillIn(GetUiText(LangId::ListCleanSummary), {{L"count", removed}, {L"size", size}});
    std::wstring reasons;
    for (int reason = 0; reason <= static_cast<int>(LeftReason::Failed); ++reason) {
        auto found = tally.leftByReason.find(reason);
        if (found == tally.leftByReason.end()) continue;
        if (!reasons.empty()) reasons += L", ";
        reasons += std::to_wstring(found->second) + L" " + LeftReasonText(static_cast<LeftReason>(reason));
    }
    return win::FillIn(GetUiText(LangId::ListCleanSummaryLeft),
                       {{L"count", removed},
                        {L"size", size},
                        {L"left", win::GroupedNumber(static_cast<ULONGLONG>(tally.Left()))},
                        {L"reasons", reasons}});
}

std::wstring LeftRowStatusText(LeftReason reason) {
    return win::FillIn(GetUiText(LangId::ListLeftRow), {{L"reason", LeftReasonText(reason)}});
}
