#pragma once
// The one top-level window: menu bar, status bar and the result list.
#include <windows.h>
#include <memory>
#include <string>

#include "win/Controls.h"
#include "win/Window.h"

class CBriskoApp;
class CBriskoDoc;
class CBriskoView;

class CMainFrame : public win::CWindowBase {
public:
    static constexpr const wchar_t* kClassName = L"BriskoMainFrame";

    CMainFrame(CBriskoApp& app, CBriskoDoc& doc);
    ~CMainFrame() override;

    // Creates the window with its menu, bars and view; false when any of them fails.
    bool LoadFrame();
    // Runs the view's initial update and shows the frame (`cmdShow` -1: as it is, restored and in front).
    void InitialUpdateFrame(int cmdShow);
    void ActivateFrame(int cmdShow);
    HACCEL GetAccelerators() const { return m_hAccel; }

    // Binds the language file and relabels what the frame shows.
    void SetLanguage(const std::wstring& path);

    CBriskoView* GetView() const { return m_pView.get(); }
    win::CStatusBar& StatusBar() { return m_wndStatusBar; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int OnCreate();
    void OnSize(int cx, int cy);
    void OnCommand(UINT id);
    void OnInitMenuPopup(HMENU menu);
    void OnDestroy();
    void SavePlacement();
    void ReadLanguageSetting();
    void RecalcLayout();

    CBriskoApp& m_app;
    CBriskoDoc& m_doc;
    win::CStatusBar m_wndStatusBar;
    std::unique_ptr<CBriskoView> m_pView;
    HACCEL m_hAccel = nullptr;
    HMENU m_hMenu = nullptr;
};
