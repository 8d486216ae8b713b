#include "privacy/browsers/CookiesKillerRow.h"

#include "i18n/LangTexts.h"
#include "privacy/browsers/BrowserCleaning.h"
#include "win/Text.h"

namespace browsers {

namespace {

LeftReason ReasonOf(const LeftItem& item) {
    switch (item.why) {
    case LeftWhy::Unsafe: return LeftReason::Link;
    case LeftWhy::Excluded: return LeftReason::Excluded;
    default: return LeftReason::Failed;
    }
}

}  // namespace

bool CleanCookieRow(const std::wstring& path, const CKeepList& keep, IRemovalReport& report) {
    CookieDatabaseOutcome outcome = CleanCookieDatabase(path, keep);
    if (!outcome.understood) return false;
    if (outcome.inUse) report.Left(path, LeftReason::InUse);
    else if (!outcome.left.empty()) report.Left(path, ReasonOf(outcome.left.front()));
    else
        report.Cleaned(path, FillInLangText(LangId::BrowsersCookiesCleaned,
                                            {win::GroupedNumber(static_cast<ULONGLONG>(outcome.kept))}));
    return true;
}

}  // namespace browsers
