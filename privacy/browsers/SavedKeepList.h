#pragma once
// The one list of sites whose cookies a user keeps: written in the Browsers
// dialog, kept per Windows user in the program's settings, and read by the
// dialog, by "brisko-cli browsers" and by Cookies Killer alike. The sites a
// policy keeps (KeepCookies) are added to it wherever it is used.
#include <string>

#include "privacy/browsers/KeepList.h"
#include "win/Profile.h"

namespace browsers {

// The program's settings store, as the window names it: software\Brisko\Brisko .NET.
win::CProfile ProgramSettings();

// The list as the user wrote it, one site a line.
std::wstring SavedKeepListText(const win::CProfile& settings, const std::wstring& user);
bool SaveKeepListText(const win::CProfile& settings, const std::wstring& user, const std::wstring& text);

// The user's list with the policy's sites added.
CKeepList UserKeepList(const win::CProfile& settings, const std::wstring& user);

}  // namespace browsers
