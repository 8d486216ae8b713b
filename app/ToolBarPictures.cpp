#include "app/ToolBarPictures.h"

#include <cstdlib>

#include "res/resource.h"

ToolBarPictures ToolBarPicturesForDpi(UINT dpi) {
    static constexpr ToolBarPictures kDrawn[] = {
        {18, IDB_TOOLBAR, IDB_TOOLBAR_DISABLED},       {24, IDB_TOOLBAR_24, IDB_TOOLBAR_DISABLED_24},
        {27, IDB_TOOLBAR_27, IDB_TOOLBAR_DISABLED_27}, {36, IDB_TOOLBAR_36, IDB_TOOLBAR_DISABLED_36},
        {45, IDB_TOOLBAR_45, IDB_TOOLBAR_DISABLED_45},
    };
    // In 96ths of a pixel, so that 22.5 pixels (120 DPI) compares exactly.
    const long wanted = 18L * static_cast<long>(dpi);
    ToolBarPictures best = kDrawn[0];
    for (const ToolBarPictures& drawn : kDrawn)
        if (std::labs(drawn.size * 96L - wanted) < std::labs(best.size * 96L - wanted)) best = drawn;
    return best;
}
