#include "view/ItemText.h"

#include <shellapi.h>

#include <unordered_map>

#include "i18n/LangTexts.h"
#include "scan/FoundItemOrder.h"

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
// extension. Folders and files without an extension are always asked.
class TypeNameCache {
public:
    std::wstring Get(const std::wstring& path) {
        std::wstring key = TypeExtensionKey(path);
        if (key.empty()) return ShellTypeName(path);
        ::AcquireSRWLockExclusive(&m_lock);
        auto it = m_names.find(key);
        std::wstring name = it == m_names.end() ? std::wstring() : it->second;
        ::ReleaseSRWLockExclusive(&m_lock);
        if (it != m_names.end()) return name;
        name = ShellTypeName(path);
        ::AcquireSRWLockExclusive(&m_lock);
        m_names.emplace(key, name);
        ::ReleaseSRWLockExclusive(&m_lock);
        return name;
    }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::unordered_map<std::wstring, std::wstring> m_names;
};
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
    static TypeNameCache cache;
    return cache.Get(path);
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
