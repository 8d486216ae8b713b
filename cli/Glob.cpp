#include "cli/Glob.h"

#include <cwctype>

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

bool GlobMatchesPath(const std::wstring& glob, const std::wstring& path) {
    std::wstring pattern = glob;
    for (wchar_t& c : pattern)
        if (c == L'/') c = L'\\';
    std::wstring item = path;
    while (item.size() > 3 && item.back() == L'\\') item.pop_back();  // a folder row's trailing backslash
    if (pattern.find(L'\\') != std::wstring::npos) return WildcardMatch(pattern, item);
    size_t slash = item.rfind(L'\\');
    return WildcardMatch(pattern, slash == std::wstring::npos ? item : item.substr(slash + 1));
}

bool PassesFilters(const std::wstring& path, const std::vector<std::wstring>& include,
                   const std::vector<std::wstring>& exclude) {
    bool included = include.empty();
    for (const std::wstring& glob : include) included = included || GlobMatchesPath(glob, path);
    for (const std::wstring& glob : exclude)
        if (GlobMatchesPath(glob, path)) return false;
    return included;
}
