#pragma once
// The result list: one row per found item, in a report-mode list view that
// fills the main frame's client area.
#include <windows.h>
#include <commctrl.h>
#include <string>

#include "scan/FoundItemSink.h"
#include "view/CommandAvailability.h"
#include "view/Modes.h"
#include "win/Controls.h"
#include "win/Handle.h"
#include "win/Window.h"

class CBriskoApp;
class CBriskoDoc;

class CBriskoView : public win::CSubclassedWindow, public IFoundItemSink {
public:
    CBriskoView(CBriskoApp& app, CBriskoDoc& doc);
    ~CBriskoView() override;

    // Creates the list window as the frame's client.
    bool Create(HWND parent);
    // Sets the list up, places the main window and shows a first scan.
    void OnInitialUpdate();

    // One row for a match of a scan; files in use are left out.
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override;

    // True when the view carried the command out.
    bool OnCommand(UINT id);
    bool IsCommandEnabled(UINT id) const;
    LRESULT OnNotify(const NMHDR& header);

    win::CListCtrl List() const { return win::CListCtrl(m_hWnd); }
    CBriskoDoc& GetDocument() const { return m_doc; }

    BYTE m_nMode = MODE_STANDARD;
    bool m_bCookiesAvailable = true;
    volatile bool m_bBusy = false;
    volatile int m_nCleanMode = 0;
    std::wstring m_strTitle;
    bool m_bSortAscending[4] = {false, true, true, false};

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    CommandState Snapshot() const;
    void SetUpList();
    void ApplyStoredPlacement();
    void OnDestroy();

    CBriskoApp& m_app;
    CBriskoDoc& m_doc;
    win::ImageList m_imageListSmall;
    win::ImageList m_imageListLarge;
};
