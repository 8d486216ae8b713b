#pragma once
// Small text helpers shared by every layer.
#include <windows.h>

#include <cstdint>
#include <string>

namespace win {

// The text of string resource `id` of the module, or "" when it is missing.
std::wstring LoadResString(UINT id, HINSTANCE module = nullptr);

// Lower-case and upper-case of a-z/A-Z only, as the file-type fallback needs.
std::wstring AsciiUpper(std::wstring text);
// Upper-case in the system's rules for every letter, so that two texts
// that differ only in letter case compare equal (names, searches).
std::wstring CaseFolded(std::wstring text);

// "12,480": the digits in groups of three.
std::wstring GroupedNumber(ULONGLONG number);

std::wstring ToWide(const std::string& text, UINT codePage = CP_UTF8);
std::string ToNarrow(const std::wstring& text, UINT codePage = CP_ACP);

// True when `text` matches `pattern` as a whole: '*' any run of characters,
// '?' any one; letter case does not matter.
bool WildcardMatch(const std::wstring& pattern, const std::wstring& text);

// True when the two texts are the same in any letter case (ordinal, not by language).
bool EqualNoCase(const std::wstring& a, const std::wstring& b);

// A 64-bit FNV-1a hash of the text's characters, as it is spelled.
std::uint64_t TextHash(const std::wstring& text);

}  // namespace win
