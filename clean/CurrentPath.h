#pragma once
// The hand-over of the application's m_strCurrentPath between the clean
// worker, which replaces it before each row, and the view, which shows it.
// Both sides go through these two functions, which never let a read overlap
// a replacement.
#include <string>

class CBriskoApp;

void SetCurrentCleanPath(CBriskoApp& app, const std::wstring& path);
std::wstring GetCurrentCleanPath(const CBriskoApp& app);
