#include "cli/Output.h"

#include <cstdio>

#include "win/SizeText.h"

std::wstring JsonString(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        switch (c) {
        case L'"': out += L"\\\""; break;
        case L'\\': out += L"\\\\"; break;
        case L'\n': out += L"\\n"; break;
        case L'\r': out += L"\\r"; break;
        case L'\t': out += L"\\t"; break;
        default:
            if (c < 0x20) {
                wchar_t escaped[8];
                std::swprintf(escaped, 8, L"\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + L"\"";
}

std::wstring IsoTime(const FILETIME& time) {
    SYSTEMTIME utc{};
    if ((time.dwLowDateTime == 0 && time.dwHighDateTime == 0) || !::FileTimeToSystemTime(&time, &utc)) return {};
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02uT%02u:%02u:%02uZ", utc.wYear, utc.wMonth, utc.wDay, utc.wHour,
                  utc.wMinute, utc.wSecond);
    return text;
}

std::wstring EntryJson(const FoundItem& entry, const wchar_t* mode, const std::wstring& extra,
                       const std::wstring& ruleEntry) {
    std::wstring modified = IsoTime(entry.modified);
    return L"{\"path\":" + JsonString(entry.path) + L",\"kind\":\"" + (entry.folder ? L"folder" : L"file") +
           L"\",\"size\":" + std::to_wstring(entry.size) + L",\"modified\":" +
           (modified.empty() ? L"null" : JsonString(modified)) + L",\"mode\":" + JsonString(mode) +
           (ruleEntry.empty() ? L"" : L",\"entry\":" + JsonString(ruleEntry)) + (extra.empty() ? L"" : L"," + extra) +
           L"}";
}

std::wstring EntryText(const FoundItem& entry, const std::wstring& ruleEntry) {
    std::wstring text = entry.path + (entry.folder ? L"  (folder)" : L"  (" + ShortSizeText(entry.size) + L")");
    return ruleEntry.empty() ? text : text + L"  [" + ruleEntry + L"]";
}

std::wstring MeasuredEntryText(const FoundItem& entry, const ItemAmount& amount, const std::wstring& ruleEntry) {
    if (!entry.folder) return EntryText(entry, ruleEntry);
    const size_t inside = amount.items - 1;  // the amount counts the folder itself
    std::wstring text = entry.path + L"  (folder of " + GroupedNumber(inside) + (inside == 1 ? L" item, " : L" items, ") +
                        ShortSizeText(amount.bytes) + L")";
    return ruleEntry.empty() ? text : text + L"  [" + ruleEntry + L"]";
}

std::wstring ContentsJson(const FoundItem& entry, const ItemAmount& amount) {
    if (!entry.folder) return {};
    return L"\"contents\":{\"items\":" + std::to_wstring(amount.items - 1) + L",\"bytes\":" +
           std::to_wstring(amount.bytes) + L"}";
}

std::wstring SizeText(ULONGLONG bytes) {
    return bytes < 1024 ? ShortSizeText(bytes) : ShortSizeText(bytes) + L" (" + GroupedNumber(bytes) + L" bytes)";
}

std::wstring SummaryText(size_t items, ULONGLONG bytes) {
    return GroupedNumber(items) + (items == 1 ? L" item, " : L" items, ") + SizeText(bytes);
}
