#include "view/Placement.h"

RECT ChooseWindowPlacement(int top, int left, int width, int height) {
    if (width > 450 && height > 0 && left != -32000) return RECT{left, top, left + width, top + height};
    return RECT{80, 66, 80 + 800, 66 + 456};
}
