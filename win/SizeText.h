#pragma once
// Counts and sizes as people read them, shared by the status bar and the
// command line.
#include <windows.h>

#include <string>

// "3,561,472": digits in groups of three.
std::wstring GroupedNumber(ULONGLONG number);
// "192.6 MB", "3.4 KB", or "512 bytes" below one kilobyte.
std::wstring ShortSizeText(ULONGLONG bytes);
