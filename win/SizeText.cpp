#include "win/SizeText.h"

#include <cstdio>

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
