// read_list_row.exe <list window> <row> <output file>
// Reads the four texts of one row of a list control in another process, as
// accessibility tools do: LVM_GETITEMTEXTW with a buffer in that process.
// Writes them to the output file in UTF-16, one a line.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 4) return 2;
    HWND list = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(argv[1], nullptr, 10)));
    int row = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    DWORD processId = 0;
    ::GetWindowThreadProcessId(list, &processId);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return 3;
    constexpr int kRoom = 512;
    auto* remote = static_cast<BYTE*>(
        ::VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kRoom * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    if (!remote) return 4;
    std::wstring lines;
    for (int column = 0; column < 4; ++column) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
        item.cchTextMax = kRoom;
        wchar_t text[kRoom] = {};
        DWORD_PTR length = 0;
        if (!::WriteProcessMemory(process, remote, &item, sizeof(item), nullptr) ||
            !::SendMessageTimeoutW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 10000,
                                   &length) ||
            !::ReadProcessMemory(process, item.pszText, text, sizeof(text) - sizeof(wchar_t), nullptr))
            return 5;
        lines += std::wstring(text) + L"\n";
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    HANDLE out = ::CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 6;
    DWORD written = 0;
    ::WriteFile(out, lines.data(), static_cast<DWORD>(lines.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(out);
    return 0;
}
