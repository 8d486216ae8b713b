#include "view/ItemText.h"

#include <shellapi.h>

#include <optional>
#include <unordered_map>

#include "i18n/LangTexts.h"
#include "scan/FoundItemOrder.h"
#include "win/ProcessWide.h"

namespace {

std::wstring TwoDigits(int value) {
    std::wstring text = std::to_wstring(value);
    return text.size() < 2 ? L"0" + text : text;
}

std::wstring FourDigits(int value) {
    std::wstring text = std::to_wstring(value);
    while (text.size() < 4) text.insert(text.begin(), L'0');
    return text;
}

}  // namespace

std::wstring FallbackTypeText(const std::wstring& path) {
    size_t dot = path.rfind(L'.');
    size_t slash = path.rfind(L'\\');
    bool hasExtension = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
    if (!hasExtension) return GetUiText(LangId::TypeFile);
    std::wstring extension = path.substr(dot + 1);
    for (wchar_t& c : extension)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return FillInLangText(LangId::TypeExtensionFile, {extension});
}

namespace {
std::wstring ShellTypeName(const std::wstring& path) {
    SHFILEINFOW info{};
    if (::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME) && info.szTypeName[0])
        return info.szTypeName;
    return FallbackTypeText(path);
}

// The shell names a file's type by its extension alone, and asking it costs
// a registry walk per file: a scan of thousands of files asks once per
// extension, and every thread shares the answers. Folders and files without
// an extension are always asked.
using TypeNamesByExtension = std::unordered_map<std::wstring, std::wstring>;

std::wstring CachedTypeName(const std::wstring& path) {
    std::wstring key = TypeExtensionKey(path);
    if (key.empty()) return ShellTypeName(path);
    win::Guarded<TypeNamesByExtension>& cache = win::ProcessWide<TypeNamesByExtension>();
    std::optional<std::wstring> known = cache.With([&](TypeNamesByExtension& names) -> std::optional<std::wstring> {
        auto it = names.find(key);
        return it == names.end() ? std::nullopt : std::optional<std::wstring>(it->second);
    });
    if (known) return *known;
    std::wstring name = ShellTypeName(path);  // asked outside the lock: the shell may be slow
    cache.With([&](TypeNamesByExtension& names) { names.emplace(key, name); });
    return name;
}
}  // namespace

std::wstring TypeExtensionKey(const std::wstring& path) {
    size_t dot = path.rfind(L'.'), slash = path.rfind(L'\\');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash) || dot + 1 == path.size()) return {};
    std::wstring key = path.substr(dot);
    ::CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

std::wstring GetFileTypeText(const std::wstring& path, bool isFolder) {
    if (isFolder) return ShellTypeName(path);
    return CachedTypeName(path);
}

std::wstring FormatSizeText(ULONGLONG bytes) { return std::to_wstring(ShownKilobytes(bytes)) + L" KB"; }

ULONGLONG FoundItemSize(const WIN32_FIND_DATAW& find) {
    return (static_cast<ULONGLONG>(find.nFileSizeHigh) << 32) | find.nFileSizeLow;
}

std::wstring FormatDateText(const FILETIME& lastWrite) {
    std::optional<SYSTEMTIME> fields = ShownLocalTime(lastWrite);
    if (!fields) return {};
    return TwoDigits(fields->wMonth) + L"/" + TwoDigits(fields->wDay) + L"/" + FourDigits(fields->wYear) + L" " +
           TwoDigits(fields->wHour) + L":" + TwoDigits(fields->wMinute);
}

std::wstring TypeWithRuleEntry(const std::wstring& type, const std::wstring& entry) {
    return entry.empty() ? type : type + L" (" + entry + L")";
}
