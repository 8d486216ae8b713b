#pragma once
// Names nobody can guess ahead: the system's random generator, as text.
#include <string>

namespace win {

// `bytes` random bytes (at most 16) as lower-case hexadecimal digits.
std::wstring RandomHex(size_t bytes);

// `count` random characters of `alphabet`.
std::wstring RandomText(size_t count, const std::wstring& alphabet);

}  // namespace win
