#include "catalog/Paths.h"

std::wstring JoinPath(const std::wstring& base, const std::wstring& relative) {
    if (base.size() == 3) return base + relative;
    std::wstring path;
    path.reserve(base.size() + 1 + relative.size());
    path.append(base).append(1, L'\\').append(relative);
    return path;
}
