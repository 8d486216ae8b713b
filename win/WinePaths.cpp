#include "win/WinePaths.h"

#include <windows.h>

namespace win {

namespace {

template <typename Function>
Function WineFunction(const wchar_t* module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(module), name)));
}

}  // namespace

bool UnderWine() { return WineFunction<void*>(L"ntdll.dll", "wine_get_version") != nullptr; }

std::string HostPathOf(const std::wstring& path) {
    auto toHost = WineFunction<char*(CDECL*)(LPCWSTR)>(L"kernel32.dll", "wine_get_unix_file_name");
    if (!toHost || path.empty()) return {};
    char* host = toHost(path.c_str());
    if (!host) return {};
    std::string result = host;
    ::HeapFree(::GetProcessHeap(), 0, host);
    return result;
}

std::wstring PathOfHost(const std::string& hostPath) {
    auto fromHost = WineFunction<WCHAR*(CDECL*)(LPCSTR)>(L"kernel32.dll", "wine_get_dos_file_name");
    if (!fromHost || hostPath.empty()) return {};
    WCHAR* path = fromHost(hostPath.c_str());
    if (!path) return {};
    std::wstring result = path;
    ::HeapFree(::GetProcessHeap(), 0, path);
    return result;
}

}  // namespace win
