#pragma once
// The language lookup that every user-visible text goes through.
#include <windows.h>
#include <string>

class CIni;

// The language setting that means "built-in texts, no file".
inline constexpr const wchar_t* kDefaultLanguage = L"Default";

// Binds the lookup to the application's language file and setting. Both
// objects must outlive every lookup (they are members of the application).
void BindLanguage(const CIni* ini, const std::wstring* language);

// The text of `key` in `section` of the bound language file, or `def`.
std::wstring GetLangString(const std::wstring& section, const std::wstring& key, const std::wstring& def);

// The text a user sees: the built-in text when the setting is "Default",
// else GetLangString with the built-in text as default.
std::wstring GetUiText(const std::wstring& section, const std::wstring& key, const std::wstring& builtIn);

// True when the language setting is exactly "Default".
bool IsDefaultLanguage();

// The part of string resource `id` before its first line feed (all of it without one).
std::wstring LoadResPrefix(UINT id);
// The part of string resource `id` after the last `c` (all of it without one).
std::wstring LoadResSuffix(UINT id, wchar_t c);
