#include "catalog/Registry.h"

#include "win/Registry.h"

namespace {
void TrimBackslashes(std::wstring& text, bool front, bool back) {
    if (back) {
        size_t end = text.find_last_not_of(L'\\');
        text.erase(end == std::wstring::npos ? 0 : end + 1);
    }
    if (front) {
        size_t start = text.find_first_not_of(L'\\');
        text.erase(0, start == std::wstring::npos ? text.size() : start);
    }
}
}  // namespace

RegistryValuePath SplitRegistryValuePath(const std::wstring& fullValuePath) {
    // Only the leading backslashes go before the split: in "Key\Value\" the
    // last backslash ends the key, and the value name after it is empty.
    std::wstring path = fullValuePath;
    TrimBackslashes(path, true, false);
    RegistryValuePath parts;
    size_t last = path.rfind(L'\\');
    if (last == std::wstring::npos) {
        parts.value = path;
        return parts;
    }
    parts.key = path.substr(0, last);
    parts.value = path.substr(last + 1);
    TrimBackslashes(parts.key, false, true);
    return parts;
}

std::wstring ReadRegistryString(const std::wstring& fullValuePath, const std::wstring& def, HKEY root) {
    RegistryValuePath parts = SplitRegistryValuePath(fullValuePath);
    std::optional<win::RegistryText> value = win::ReadRegistryText(root, parts.key, parts.value);
    return value ? value->text : def;
}
