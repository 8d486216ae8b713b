#include "cli/Glob.h"

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
