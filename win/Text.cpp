#include "win/Text.h"

#include <cstdio>
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

std::wstring GroupedNumber(ULONGLONG number) {
    std::wstring digits = std::to_wstring(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, 1, L',');
    return digits;
}

std::wstring ShortSizeText(ULONGLONG bytes) {
    const wchar_t* units[] = {L"bytes", L"KB", L"MB", L"GB", L"TB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024 && unit < 4) {
        value /= 1024;
        ++unit;
    }
    wchar_t text[32];
    if (unit == 0) std::swprintf(text, 32, L"%llu bytes", bytes);
    else std::swprintf(text, 32, L"%.1f %ls", value, units[unit]);
    return text;
}

std::wstring FillIn(std::wstring text, std::initializer_list<std::pair<const wchar_t*, std::wstring>> values) {
    for (const auto& [name, value] : values) {
        const std::wstring token = std::wstring(L"{") + name + L"}";
        for (size_t at = text.find(token); at != std::wstring::npos; at = text.find(token, at + value.size()))
            text.replace(at, token.size(), value);
    }
    return text;
}

}  // namespace win
