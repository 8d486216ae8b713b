#include "win/Random.h"

#include <windows.h>
#include <ntsecapi.h>

#include <vector>

namespace win {

namespace {

// Random bytes from the system; should it ever refuse, the clock's finest
// count still differs from run to run.
std::vector<BYTE> RandomBytes(size_t count) {
    std::vector<BYTE> random(count);
    if (count == 0 || ::RtlGenRandom(random.data(), static_cast<ULONG>(count))) return random;
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    for (size_t i = 0; i < count; ++i) random[i] ^= static_cast<BYTE>(now.QuadPart >> (i % 8 * 8));
    return random;
}

}  // namespace

std::wstring RandomHex(size_t bytes) {
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::wstring result;
    for (BYTE b : RandomBytes(bytes < 16 ? bytes : 16)) {
        result += kHex[b >> 4];
        result += kHex[b & 15];
    }
    return result;
}

std::wstring RandomText(size_t count, const std::wstring& alphabet) {
    std::wstring result;
    if (alphabet.empty()) return result;
    for (BYTE b : RandomBytes(count)) result += alphabet[b % alphabet.size()];
    return result;
}

}  // namespace win
