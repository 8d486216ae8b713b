#pragma once
#include <windows.h>

// The main window's place from the stored "Location" values: the stored
// rectangle when it is wide enough, has a height and was not stored while
// minimised (left -32000); otherwise (80, 66) with 800 x 456.
RECT ChooseWindowPlacement(int top, int left, int width, int height);
