#pragma once
// The one top-level window: menu bar, toolbar, status bar and the result list.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "view/CommandAvailability.h"
#include "win/Controls.h"
#include "win/Handle.h"
#include "win/ToolBar.h"
#include "win/Window.h"

class IFrameHost;
class CBriskoDoc;
class CListController;

// The frame's set-message-string message: the text in the long parameter
// goes to the status bar's message pane.
inline constexpr UINT WM_SETMESSAGESTRING = 0x0362;

class CMainFrame : public win::CWindowBase {
public:
    static constexpr const wchar_t* kClassName = L"BriskoMainFrame";

    CMainFrame(IFrameHost& app, CBriskoDoc& doc);
    ~CMainFrame() override;

    // Creates the window with its menu, bars and view; false when any of them fails.
    bool LoadFrame();
    // Runs the view's initial update and shows the frame (`cmdShow` -1: as it is, restored and in front).
    void InitialUpdateFrame(int cmdShow);
    void ActivateFrame(int cmdShow);
    HACCEL GetAccelerators() const { return m_hAccel; }

    // Binds the language file and relabels every menu title and item.
    void SetLanguage(const std::wstring& path);

    CListController* GetView() const { return m_pView.get(); }
    win::CStatusBar& StatusBar() { return m_wndStatusBar; }
    win::CToolBar ToolBar() const { return m_wndToolBar; }
    // The display scale the bars and the list are drawn for.
    UINT Dpi() const { return m_dpi; }

    // The language file the user picks from the language folder; nothing
    // when the dialog is cancelled. Tests put their own answer in.
    std::function<std::optional<std::wstring>(HWND owner)> m_chooseLanguageFile;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int OnCreate();
    bool CreateToolBar();
    bool CreateStatusBar();
    bool CreateView();
    void OnSize();
    void OnCommand(UINT id);
    bool IsCommandAvailable(UINT id) const;
    void OnInitMenuPopup(HMENU menu);
    LRESULT OnNotify(const NMHDR& header);
    void OnMenuSelect(UINT id, UINT flags, HMENU menu);
    void OnToolTipText(const NMHDR& header);
    void ShowPrompt(const std::wstring& text);
    void RestoreStatusText();
    void ToggleBar(win::CWnd bar);
    void OnLanguage();
    void UpdateToolBar(const CommandState& state);
    void OnDestroy();
    void SavePlacement();
    void ReadLanguageSetting();
    void RecalcLayout();
    // The bars and the list at a display scale (MainFrameDpi.cpp).
    void ApplyDpi(UINT dpi);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void LoadToolBarPictures();
    void SizeToolBarButtons(int pictureSize);
    void SetStatusBarFont();
    static win::GdiObject StatusFont(UINT dpi);
    // The status bar's height with `font` and a minimum height of its drawing area.
    int StatusBarHeightWith(HGDIOBJ font, int minimumHeight);

    IFrameHost& m_app;
    CBriskoDoc& m_doc;
    win::CStatusBar m_wndStatusBar;
    win::CToolBar m_wndToolBar;
    win::ToolBarLayout m_toolBarLayout;
    win::ImageList m_toolBarImages;
    win::ImageList m_toolBarDisabledImages;
    UINT m_dpi = 96;
    SIZE m_toolBarMargin{};       // what a button has beyond its picture, at 96 DPI
    win::GdiObject m_statusFont;  // the status font at m_dpi
    unsigned m_enabledButtons = ~0u;  // one bit per toolbar command, as last applied
    std::optional<std::wstring> m_textBeforePrompt;  // the status text while a prompt shows
    std::unique_ptr<CListController> m_pView;
    HACCEL m_hAccel = nullptr;
    HMENU m_hMenu = nullptr;
};
