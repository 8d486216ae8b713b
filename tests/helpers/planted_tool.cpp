// planted_tool.exe: stands in for a system program planted where a search
// path would find it. Started, it leaves "<its own path>.ran" beside itself,
// so that a test sees whether anything ran it.
#include <windows.h>

int main() {
    wchar_t self[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH - 5);
    if (n == 0) return 2;
    lstrcatW(self, L".ran");
    HANDLE marker = ::CreateFileW(self, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) ::CloseHandle(marker);
    return 0;
}
