#pragma once
// Which of the toolbar's drawn picture strips suits a display scale.
#include <windows.h>

struct ToolBarPictures {
    int size;       // of one square picture, in pixels
    UINT normal;    // bitmap of the enabled and hot buttons
    UINT disabled;  // bitmap of the greyed buttons
};

// The strip drawn nearest to the 18-pixel pictures of 96 DPI scaled to
// `dpi` (the smaller of two as near).
ToolBarPictures ToolBarPicturesForDpi(UINT dpi);
