#include "view/Placement.h"

RECT ChooseWindowPlacement(int top, int left, int width, int height, UINT dpi) {
    if (width > 450 && height > 0 && left != -32000) return RECT{left, top, left + width, top + height};
    auto scaled = [dpi](int value) { return win::ScaleForDpi(value, dpi); };
    return RECT{scaled(80), scaled(66), scaled(80 + 800), scaled(66 + 456)};
}
