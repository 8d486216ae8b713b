// hold_file.exe <path> <ready-event-name> [share]
// Opens an existing file for writing with no sharing (or with the sharing
// flags given as a number), signals the named event once the file is open,
// and keeps it open until it is killed (at most ten minutes).
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    DWORD share = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 0;
    HANDLE file = ::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (ready) ::SetEvent(ready);
    ::Sleep(10 * 60 * 1000);
    ::CloseHandle(file);
    return 0;
}
