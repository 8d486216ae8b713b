#include "cli/Output.h"

#include <cstdio>

#include "win/Text.h"

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

std::wstring EntryJson(const FoundEntry& entry, const wchar_t* mode, const std::wstring& extra) {
    std::wstring modified = IsoTime(entry.modified);
    return L"{\"path\":" + JsonString(entry.path) + L",\"kind\":\"" + (entry.folder ? L"folder" : L"file") +
           L"\",\"size\":" + std::to_wstring(entry.size) + L",\"modified\":" +
           (modified.empty() ? L"null" : JsonString(modified)) + L",\"mode\":" + JsonString(mode) +
           (extra.empty() ? L"" : L"," + extra) + L"}";
}

namespace {
std::wstring Grouped(ULONGLONG number) { return win::GroupedNumber(number); }

std::wstring ShortSize(ULONGLONG bytes) {
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
}  // namespace

std::wstring EntryText(const FoundEntry& entry) {
    return entry.path + (entry.folder ? L"  (folder)" : L"  (" + ShortSize(entry.size) + L")");
}

std::wstring SizeText(ULONGLONG bytes) {
    return bytes < 1024 ? ShortSize(bytes) : ShortSize(bytes) + L" (" + Grouped(bytes) + L" bytes)";
}

std::wstring SummaryText(size_t items, ULONGLONG bytes) {
    return Grouped(items) + (items == 1 ? L" item, " : L" items, ") + SizeText(bytes);
}
