#pragma once
// The toolbar control: its layout resource, its buttons and its images.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "win/Handle.h"
#include "win/Window.h"

namespace win {

// A toolbar resource (type 241): the button size and the command of each
// button in order, 0 standing for a separator.
struct ToolBarLayout {
    int buttonWidth = 0;
    int buttonHeight = 0;
    std::vector<UINT> commands;
};

// The layout of toolbar resource `id`; nothing when it is missing or malformed.
bool LoadToolBarLayout(HINSTANCE instance, UINT id, ToolBarLayout& layout);

// The pictures of bitmap `id`, cut into `width` x `height` images, with
// `transparent` as the colour that shows the background. Empty when the
// bitmap cannot be loaded.
ImageList LoadMaskedImageList(HINSTANCE instance, UINT id, int width, int height, COLORREF transparent);

class CToolBar : public CWnd {
public:
    using CWnd::CWnd;
    // A flat toolbar with tool tips at the top of `parent`.
    static CToolBar Create(HWND parent, UINT controlId);
    // Adds one button for each command of `layout` (image i for the i-th
    // button that is not a separator).
    bool SetButtons(const ToolBarLayout& layout) const;
    bool IsButtonEnabled(UINT id) const { return SendMessage(TB_ISBUTTONENABLED, id) != 0; }
    void EnableButton(UINT id, bool enable) const { SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enable ? 1 : 0, 0)); }
    int GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    // The image lists the toolbar draws with; it does not own them.
    void SetImageList(UINT message, HIMAGELIST list) const { SendMessage(message, 0, reinterpret_cast<LPARAM>(list)); }
    void AutoSize() const { SendMessage(TB_AUTOSIZE); }
};

}  // namespace win
