#include "win/ToolBar.h"

namespace win {

bool LoadToolBarLayout(HINSTANCE instance, UINT id, ToolBarLayout& layout) {
    // The resource holds WORDs: version 1, width, height, count, then the commands.
    constexpr WORD kToolBarResourceType = 241;
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kToolBarResourceType));
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const WORD* data = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    DWORD words = found ? ::SizeofResource(instance, found) / sizeof(WORD) : 0;
    if (!data || words < 4 || data[0] != 1 || words < 4u + data[3]) return false;
    layout.buttonWidth = data[1];
    layout.buttonHeight = data[2];
    layout.commands.assign(data + 4, data + 4 + data[3]);
    return true;
}

ImageList LoadMaskedImageList(HINSTANCE instance, UINT id, int width, int height, COLORREF transparent) {
    GdiObject bitmap(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return ImageList();
    BITMAP info{};
    ::GetObjectW(bitmap.Get(), sizeof(info), &info);
    ImageList list(::ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, info.bmWidth / width, 0));
    if (list && ::ImageList_AddMasked(list.Get(), static_cast<HBITMAP>(bitmap.Get()), transparent) < 0)
        return ImageList();
    return list;
}

CToolBar CToolBar::Create(HWND parent, UINT controlId) {
    HWND hwnd = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP,
                                  0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd) ::SendMessageW(hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return CToolBar(hwnd);
}

bool CToolBar::SetButtons(const ToolBarLayout& layout) const {
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (UINT command : layout.commands) {
        TBBUTTON button{};
        button.idCommand = static_cast<int>(command);
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = command == 0 ? BTNS_SEP : BTNS_BUTTON;
        button.iBitmap = command == 0 ? 0 : image++;
        buttons.push_back(button);
    }
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(layout.buttonWidth, layout.buttonHeight));
    return SendMessage(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())) != 0;
}

}  // namespace win
