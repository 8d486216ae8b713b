#pragma once
// Static controls that behave as hyperlinks: blue text, the hand cursor, and
// a click that opens an address with the shell and turns the text purple.
#include <windows.h>
#include <functional>
#include <string>

#include "win/Window.h"

namespace win {

// A static control's colour request, sent on to the control by its parent
// (wParam the device context, lParam the control, as the parent got them).
inline constexpr UINT WM_REFLECT_CTLCOLORSTATIC = 0x2000 + WM_CTLCOLORSTATIC;

class CHyperlink {
public:
    // How every address of the program is opened: the shell's "open", shown
    // normally, unless tests put a recording one in. Its result is the
    // shell's (above 32 for success).
    using Opener = std::function<HINSTANCE(const std::wstring& address)>;
    static Opener s_open;

    // Opens `address`; a null result for an empty one.
    static HINSTANCE OpenAddress(const std::wstring& address);
    HINSTANCE Open() const { return OpenAddress(m_strLink); }

    std::wstring m_strLink;
};

class CStaticLink : public CSubclassedWindow {
public:
    static constexpr COLORREF kUnvisited = RGB(0, 0, 255);
    static constexpr COLORREF kVisited = RGB(128, 0, 128);

    CHyperlink m_link;
    COLORREF m_color = kUnvisited;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT OnCtlColor(HDC dc);
    void OnLButtonDown();
    bool OnSetCursor();
};

}  // namespace win
