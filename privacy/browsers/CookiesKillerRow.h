#pragma once
// Cookies Killer while a keep-list is in force: a row whose item is a cookie
// database the browser cleaning understands is cleaned around the kept
// sites' cookies instead of deleted whole; any other row is removed as
// always. Without a keep-list Cookies Killer deletes what it lists.
#include <string>

#include "clean/RemovalReport.h"
#include "privacy/browsers/KeepList.h"

namespace browsers {

// True when the item at `path` is such a database (or a companion of one):
// it was cleaned, told to `report` as Cleaned ("cookies cleaned, 12 kept"),
// or it stays, told as Left with its reason. False for any other item,
// which the caller removes.
bool CleanCookieRow(const std::wstring& path, const CKeepList& keep, IRemovalReport& report);

}  // namespace browsers
