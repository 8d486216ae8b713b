#include "win/SystemInfo.h"

#include <shlobj.h>

#include <vector>

#include "win/Path.h"
#include "win/Text.h"

std::wstring ISystemInfo::WindowsFolder() const {
    UINT n = ::GetWindowsDirectoryW(nullptr, 0);
    std::vector<wchar_t> buffer(n + 1, L'\0');
    ::GetWindowsDirectoryW(buffer.data(), n + 1);
    return std::wstring(buffer.data());
}

std::wstring ISystemInfo::SystemFolder() const {
    UINT n = ::GetSystemDirectoryW(nullptr, 0);
    std::vector<wchar_t> buffer(n + 1, L'\0');
    ::GetSystemDirectoryW(buffer.data(), n + 1);
    return std::wstring(buffer.data());
}

std::optional<std::wstring> ISystemInfo::Environment(const std::wstring& name) const {
    DWORD n = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (n == 0) return std::nullopt;
    std::vector<wchar_t> buffer(n + 1, L'\0');
    ::GetEnvironmentVariableW(name.c_str(), buffer.data(), n + 1);
    return std::wstring(buffer.data());
}

std::wstring ISystemInfo::SpecialFolder(int csidl) const {
    wchar_t buffer[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return {};
    return buffer;
}

bool ISystemInfo::IsVolumeRoot(const std::wstring& root) const {
    // A subst letter is a link in the device namespace to a path ("\??\C:\Users\..."); a volume's letter
    // names a device.
    const std::wstring letter = root.substr(0, 2);
    wchar_t target[MAX_PATH] = {};
    if (!::QueryDosDeviceW(letter.c_str(), target, MAX_PATH) || wcsncmp(target, L"\\??\\", 4) == 0) return false;
    wchar_t volumePath[MAX_PATH] = {};
    if (!::GetVolumePathNameW(root.c_str(), volumePath, MAX_PATH) || _wcsicmp(volumePath, root.c_str()) != 0)
        return false;
    wchar_t volumeName[64] = {};
    return ::GetVolumeNameForVolumeMountPointW(root.c_str(), volumeName, 64) != FALSE;
}

bool ISystemInfo::VolumeInformation(const std::wstring& root, std::wstring& volumeName,
                                    std::wstring& fileSystemName) const {
    wchar_t volume[256] = {}, fileSystem[256] = {};
    if (!::GetVolumeInformationW(root.c_str(), volume, 256, nullptr, nullptr, nullptr, fileSystem, 256))
        return false;
    volumeName = volume;
    fileSystemName = fileSystem;
    return true;
}

std::wstring ISystemInfo::UserName() const {
    wchar_t name[260] = {};
    DWORD size = 260;
    if (!::GetUserNameW(name, &size)) return {};
    return name;
}

DWORD ISystemInfo::PlatformVersion() const {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    ::GetVersionExW(&info);
    DWORD version = (info.dwMajorVersion & 0xFF) | ((info.dwMinorVersion & 0xFF) << 8);
    if (info.dwPlatformId != VER_PLATFORM_WIN32_NT) version |= 0x80000000u;
    return version;
}

DWORD ISystemInfo::MajorVersion() const {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    ::GetVersionExW(&info);
    return info.dwMajorVersion;
}

DWORD ISystemInfo::WindowsVersion() const {
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    static const auto rtlGetVersion = reinterpret_cast<GetVersion>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!rtlGetVersion || rtlGetVersion(&info) != 0)
        return (MajorVersion() & 0xFF) << 8 | ((PlatformVersion() >> 8) & 0xFF);
    return (info.dwMajorVersion & 0xFF) << 8 | (info.dwMinorVersion & 0xFF);
}

void ISystemInfo::RunHidden(const std::wstring& program, const std::wstring& commandLine) const {
    // The program runs with the rights of this one, an administrator's: a
    // file of the same name in this program's folder or the current one
    // must never stand in for it.
    if (!IsFullPath(program)) return;
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    if (::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                         &pi)) {
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
}

const ISystemInfo& RealSystemInfo() {
    static const ISystemInfo real;
    return real;
}
