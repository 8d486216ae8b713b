#pragma once
// Which language file the program uses when none is stored.
#include <string>

// The Windows user name (at most 259 characters), which names the section
// of the user's language setting.
std::wstring ReadUserName();

// The folder "lang" beside the program file, without a trailing backslash.
std::wstring GetLangFolder();

// The language file for a first keyboard layout such as "00000804", or ""
// when the layout has none. The comparison is exact, letter case included.
std::wstring LanguageFileForLayout(const std::wstring& layout);

// The setting after a look at the user's first keyboard layout: the path of
// the layout's language file, or `current` unchanged.
std::wstring ChooseDefaultLanguage(const std::wstring& current);
