#include "clean/CleanSummary.h"

#include "i18n/LangTexts.h"
#include "win/SizeText.h"

void CleanSummary::Add(const RowRemoval& row) {
    bytesRemoved += row.bytesRemoved;
    if (!row.cleaned.empty() && row.outcome == RowOutcome::Removed) {
        cleanedInside.push_back(row.cleaned);
        return;
    }
    switch (row.outcome) {
    case RowOutcome::Removed:
        ++removed;
        break;
    case RowOutcome::PartlyRemoved:
        ++partlyRemoved;
        partlyFilesRemoved += row.filesRemoved;
        partlyFilesTotal += row.filesRemoved + row.filesLeft;
        break;
    case RowOutcome::Left:
        ++leftBy[row.reason];
        break;
    case RowOutcome::Vanished:
        ++vanished;
        break;
    }
}

size_t CleanSummary::Left() const {
    size_t total = 0;
    for (const auto& [reason, count] : leftBy) total += count;
    return total;
}

std::wstring LeftReasonUiText(LeftReason reason) {
    switch (reason) {
    case LeftReason::Missing:
        return GetUiText(LangId::ReasonMissing);
    case LeftReason::Unresolvable:
        return GetUiText(LangId::ReasonUnresolvable);
    case LeftReason::Link:
        return GetUiText(LangId::ReasonLink);
    case LeftReason::Protected:
        return GetUiText(LangId::ReasonProtected);
    case LeftReason::InUse:
        return GetUiText(LangId::ReasonInUse);
    case LeftReason::AccessDenied:
        return GetUiText(LangId::ReasonAccessDenied);
    case LeftReason::OddName:
        return GetUiText(LangId::ReasonOddName);
    case LeftReason::Excluded:
        return GetUiText(LangId::ReasonExcluded);
    case LeftReason::RecycleRefused:
        return GetUiText(LangId::ReasonRecycleRefused);
    case LeftReason::NotEmpty:
        return GetUiText(LangId::ReasonNotEmpty);
    case LeftReason::Failed:
        break;
    }
    return GetUiText(LangId::ReasonFailed);
}

namespace {

std::wstring Count(size_t n) { return GroupedNumber(n); }

std::wstring LeftClause(const CleanSummary& summary) {
    std::wstring reasons;
    for (const auto& [reason, count] : summary.leftBy) {
        if (!reasons.empty()) reasons += L", ";
        reasons += Count(count) + L" " + LeftReasonUiText(reason);
    }
    return FillInLangText(LangId::SummaryLeft, {Count(summary.Left())}) + L": " + reasons;
}

}  // namespace

std::wstring CleanSummaryText(const CleanSummary& summary) {
    std::wstring size = ShortSizeText(summary.bytesRemoved);
    std::wstring text = summary.removed == 1 ? FillInLangText(LangId::SummaryRemovedOne, {size})
                                             : FillInLangText(LangId::SummaryRemoved, {Count(summary.removed), size});
    if (summary.partlyRemoved > 0)
        text += L"; " + FillInLangText(LangId::SummaryPartly, {Count(summary.partlyRemoved),
                                                                Count(summary.partlyFilesRemoved),
                                                                Count(summary.partlyFilesTotal)});
    if (summary.Left() > 0) text += L"; " + LeftClause(summary);
    if (summary.vanished > 0) text += L"; " + FillInLangText(LangId::SummaryGone, {Count(summary.vanished)});
    for (const std::wstring& cleaned : summary.cleanedInside) text += L"; " + cleaned;
    return text;
}
