#include "privacy/browsers/SavedKeepList.h"

namespace browsers {

namespace {

constexpr const wchar_t* kKeepEntry = L"browserKeepCookies";

}  // namespace

win::CProfile ProgramSettings() {
    win::CProfile settings;
    settings.SetRoot(L"Brisko", L"Brisko .NET");
    return settings;
}

std::wstring SavedKeepListText(const win::CProfile& settings, const std::wstring& user) {
    return settings.GetString(user, kKeepEntry, L"");
}

bool SaveKeepListText(const win::CProfile& settings, const std::wstring& user, const std::wstring& text) {
    return settings.WriteString(user, kKeepEntry, text);
}

CKeepList UserKeepList(const win::CProfile& settings, const std::wstring& user) {
    CKeepList keep(SavedKeepListText(settings, user));
    keep.Add(PolicyKeepList());
    return keep;
}

}  // namespace browsers
