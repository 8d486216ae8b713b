#pragma once
// The host's side of a Wine prefix, for benchmarks that make their files
// there: Wine's own file creation is slow in one huge folder.
#include <windows.h>

#include <string>

namespace bench {

// The host's path of a path in the prefix; empty off Wine.
inline std::string UnixPathOf(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return {};
    char* name = unixName(path.c_str());
    if (!name) return {};
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

// Runs `script` with the host's /bin/sh and waits until it has ended. Wine
// starts a host program detached: the process handle it gives back may end
// before the script does, so the script leaves a mark at its end, in the
// throwaway prefix's temporary folder, which is waited for.
inline bool RunHostShell(const std::string& script) {
    wchar_t temp[MAX_PATH];
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    if (!::GetTempPathW(MAX_PATH, temp)) return false;
    const std::wstring markPath = std::wstring(temp) + L"host-shell-" + std::to_wstring(now.QuadPart) + L".done";
    const std::string mark = UnixPathOf(markPath);
    if (mark.empty()) return false;
    const std::string whole = "{ " + script + "; }; : > '" + mark + "'";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring line = L"sh -c \"" + std::wstring(whole.begin(), whole.end()) + L"\"";
    if (!::CreateProcessW(L"\\\\?\\unix\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    while (::GetFileAttributesW(markPath.c_str()) == INVALID_FILE_ATTRIBUTES) ::Sleep(20);
    return true;
}

}  // namespace bench
