#pragma once
#include <windows.h>

#include "win/Dpi.h"

// The main window's place from the stored "Location" values: the stored
// rectangle when it is wide enough, has a height and was not stored while
// minimised (left -32000); otherwise (80, 66) with 800 x 456, at 96 DPI.
// The stored values are pixels, as Windows gives and takes a window's
// place, and are used as they are at every scale.
RECT ChooseWindowPlacement(int top, int left, int width, int height, UINT dpi = win::kDesignDpi);
