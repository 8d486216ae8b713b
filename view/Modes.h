#pragma once
#include <windows.h>

// Scan modes; the same order is the cycle of the next mode after a clean.
enum : BYTE { MODE_STANDARD = 1, MODE_COOKIES_KILLER = 2, MODE_OFFLINE_TEMP = 3 };
