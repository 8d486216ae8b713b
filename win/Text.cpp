#include "win/Text.h"

#include <cwctype>
#include <vector>

namespace win {

namespace {
bool SameLetter(wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); }
}  // namespace

bool WildcardMatch(const std::wstring& pattern, const std::wstring& text) {
    // Greedy with one back-track point: the last '*' seen.
    size_t p = 0, t = 0, star = std::wstring::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || (pattern[p] != L'*' && SameLetter(pattern[p], text[t])))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            resume = t;
        } else if (star != std::wstring::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    // Upper-casing keeps the length of each UTF-16 unit: texts of two lengths never match.
    return a.size() == b.size() && ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

std::wstring LoadResString(UINT id, HINSTANCE module) {
    if (!module) module = ::GetModuleHandleW(nullptr);
    // A string resource holds at most 65535 characters; grow until it fits.
    for (int size = 256; size <= 65536; size *= 4) {
        std::vector<wchar_t> buffer(size);
        int n = ::LoadStringW(module, id, buffer.data(), size);
        if (n <= 0) return {};
        if (n < size - 1) return std::wstring(buffer.data(), n);
    }
    return {};
}

std::wstring AsciiUpper(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
}

std::wstring CaseFolded(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring GroupedNumber(ULONGLONG number) {
    std::wstring digits = std::to_wstring(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, 1, L',');
    return digits;
}

std::wstring ToWide(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    int n = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string ToNarrow(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    int n = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                  nullptr, nullptr);
    std::string out(n, '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

std::uint64_t TextHash(const std::wstring& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : text) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace win
