#include "win/LocalSpelling.h"

#include <windows.h>

#include <cwchar>

namespace {

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    size_t n = wcslen(prefix);
    return text.size() >= n && _wcsnicmp(text.c_str(), prefix, n) == 0;
}

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

std::wstring ComputerName(COMPUTER_NAME_FORMAT format) {
    wchar_t name[256] = {};
    DWORD size = 256;
    return ::GetComputerNameExW(format, name, &size) ? std::wstring(name, size) : std::wstring();
}

// "\\?\Volume{...}\rest" as the drive letter the volume is mounted on.
std::optional<std::wstring> FromVolumeName(const std::wstring& text) {
    size_t close = text.find(L"}\\");
    if (close == std::wstring::npos) return std::nullopt;
    std::wstring volume = text.substr(0, close + 2);
    wchar_t names[MAX_PATH + 1] = {};
    DWORD length = 0;
    if (!::GetVolumePathNamesForVolumeNameW(volume.c_str(), names, MAX_PATH, &length)) return std::nullopt;
    for (const wchar_t* name = names; *name; name += wcslen(name) + 1)
        if (wcslen(name) == 3 && name[1] == L':') return name + text.substr(close + 2);
    return std::nullopt;
}

// "\\host\X$\rest" of this machine as "X:\rest".
std::optional<std::wstring> FromShare(const std::wstring& text) {
    size_t hostEnd = text.find(L'\\', 2);
    if (hostEnd == std::wstring::npos || !IsThisMachine(text.substr(2, hostEnd - 2))) return std::nullopt;
    std::wstring share = text.substr(hostEnd + 1, text.find(L'\\', hostEnd + 1) - hostEnd - 1);
    if (share.size() != 2 || !IsDriveLetter(share[0]) || share[1] != L'$') return std::nullopt;
    size_t rest = hostEnd + 1 + share.size();
    return std::wstring{share[0], L':', L'\\'} + (rest < text.size() ? text.substr(rest + 1) : std::wstring());
}

// Each step's stream suffix ("name::$DATA", "name:stream") dropped; a stream
// belongs to its file.
std::wstring WithoutStreams(const std::wstring& drivePath) {
    std::wstring result = drivePath.substr(0, 2);
    for (size_t start = 2; start < drivePath.size();) {
        size_t end = drivePath.find(L'\\', start + 1);
        if (end == std::wstring::npos) end = drivePath.size();
        std::wstring step = drivePath.substr(start, end - start);
        result += step.substr(0, step.find(L':'));
        start = end;
    }
    return result;
}

}  // namespace

bool IsThisMachine(const std::wstring& host) {
    if (host.empty()) return false;
    for (const wchar_t* loopback : {L"localhost", L"127.0.0.1", L"::1", L"[::1]", L"0:0:0:0:0:0:0:1"})
        if (_wcsicmp(host.c_str(), loopback) == 0) return true;
    for (COMPUTER_NAME_FORMAT format :
         {ComputerNameNetBIOS, ComputerNameDnsHostname, ComputerNameDnsFullyQualified}) {
        std::wstring name = ComputerName(format);
        if (!name.empty() && _wcsicmp(host.c_str(), name.c_str()) == 0) return true;
    }
    return false;
}

std::optional<std::wstring> LocalDriveSpelling(const std::wstring& spelling) {
    std::wstring text = spelling;
    for (wchar_t& c : text)
        if (c == L'/') c = L'\\';
    std::optional<std::wstring> drive;
    if (StartsWithNoCase(text, L"\\\\?\\UNC\\") || StartsWithNoCase(text, L"\\\\.\\UNC\\"))
        drive = FromShare(L"\\\\" + text.substr(8));
    else if (StartsWithNoCase(text, L"\\\\?\\Volume{") || StartsWithNoCase(text, L"\\\\.\\Volume{"))
        drive = FromVolumeName(L"\\\\?\\" + text.substr(4));
    else if (StartsWithNoCase(text, L"\\\\?\\") || StartsWithNoCase(text, L"\\\\.\\"))
        drive = text.substr(4);
    else if (StartsWithNoCase(text, L"\\\\"))
        drive = FromShare(text);
    else
        drive = text;
    if (!drive || drive->size() < 2 || !IsDriveLetter((*drive)[0]) || (*drive)[1] != L':') return std::nullopt;
    if (drive->size() == 2) *drive += L'\\';
    return WithoutStreams(*drive);
}
