#pragma once
// What the tests of the result list share: a frame window to hold a view,
// the application object the view reports to, and row helpers.
#include <windows.h>
#include <string>
#include <vector>

#include "app/BriskoApp.h"
#include "win/Controls.h"

class CBriskoView;
class CListController;

namespace testing_support {

// A plain top-level window standing in for the main frame, with built-in texts.
class ViewHost {
public:
    ViewHost();
    ~ViewHost();
    ViewHost(const ViewHost&) = delete;
    ViewHost& operator=(const ViewHost&) = delete;
    HWND Frame() const { return m_frame; }
    std::wstring Title() const;
    std::wstring StatusText() const { return m_bar.GetPaneText(0); }
    // Hands the view's notifications to it, as the main frame does.
    void ForwardNotifications(CBriskoView* view);

    CBriskoApp app;

private:
    HWND m_frame = nullptr;
    win::CStatusBar m_bar;
};

// Hands an existing file or folder to the view with the record the search gives it.
bool AddExistingItem(CBriskoView& view, const std::wstring& path);
// The texts of one column of every row, top to bottom.
std::vector<std::wstring> ColumnTexts(const CBriskoView& view, int column);
// The column-0 texts of every row, top to bottom.
std::vector<std::wstring> RowPaths(const CBriskoView& view);
// Runs a scan mode and serves this thread's messages until its findings are listed.
bool RunModeToEnd(CListController& view, BYTE mode);

}  // namespace testing_support
