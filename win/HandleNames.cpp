#include "win/HandleNames.h"

#include <winternl.h>

#include <vector>

#include "win/ProcessWide.h"

namespace {

// The object's own name, where it is a DOS path: Wine answers "\??\C:\..."
// for a file, Windows a device path, which is no answer here.
std::wstring DosObjectName(HANDLE handle) {
    std::wstring text = ObjectNameOf(handle);
    return text.rfind(L"\\??\\", 0) == 0 ? text : std::wstring();
}

struct NameBuffer {
    std::vector<BYTE> bytes = std::vector<BYTE>(sizeof(UNICODE_STRING) + 65536 * sizeof(wchar_t));
};

}  // namespace

std::wstring ObjectNameOf(HANDLE entry) {
    constexpr OBJECT_INFORMATION_CLASS kObjectNameInformation = static_cast<OBJECT_INFORMATION_CLASS>(1);
    // Room for the longest name the system keeps, taken once per thread.
    std::vector<BYTE>& buffer = win::ThisThread<NameBuffer>().bytes;
    ULONG used = 0;
    if (::NtQueryObject(entry, kObjectNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &used) < 0)
        return {};
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    return std::wstring(name->Buffer, name->Length / sizeof(wchar_t));
}

std::wstring FinalPathOfHandle(HANDLE entry) {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        DWORD n = ::GetFinalPathNameByHandleW(entry, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
        if (n > 0 && n < buffer.size()) return std::wstring(buffer.data(), n);
        // Wine answers "more data" for any path over its own fixed limit,
        // whatever room it is given: ask for the object's name instead.
        if (n == 0 && ::GetLastError() == ERROR_MORE_DATA) return DosObjectName(entry);
        if (n == 0) return {};
        buffer.resize(n + 1);
    }
}
