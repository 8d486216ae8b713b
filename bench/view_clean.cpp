// What a user waits for in the window, through the real view and its worker
// on a visible frame, at several sizes of file rows:
// - a Standard scan (F5) to the filled, sorted list, against a bare listing
//   of the same files plus the exclusive in-use open of each;
// - a permanent clean of every row (Shift+Del), against a plain DeleteFileW
//   loop over a copy of the same files.
// The files are spread over the Windows folder and six of its subfolders
// that the Standard scan walks whole, so that no folder grows so large that
// Wine's case-insensitive look-ups make merely creating them quadratic.
// Sizes come from the command line (default 2000 20000).
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "app/BriskoApp.h"
#include "BenchMachine.h"
#include "Timing.h"
#include "catalog/BriskoDoc.h"
#include "res/resource.h"
#include "view/ListController.h"
#include "win/Controls.h"

namespace {

const std::wstring kRoot = L"C:\\brisko-bench-view";


const wchar_t* const kSubfolders[] = {L"", L"\\Debug\\UserMode", L"\\Debug\\WIA", L"\\LiveKernelReports",
                                      L"\\ModemLogs", L"\\PLA\\Reports", L"\\Log"};
constexpr int kFolders = static_cast<int>(std::size(kSubfolders));

// File i of a tree: in one of the walked folders, by turn.
std::wstring FilePath(const std::wstring& tree, int i) {
    return tree + kSubfolders[i % kFolders] + L"\\f" + std::to_wstring(i) + L".tmp";
}

void MakeFiles(const std::wstring& tree, int count) {
    for (const wchar_t* sub : kSubfolders) {
        std::wstring folder = tree + sub;
        for (size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
            ::CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
        ::CreateDirectoryW(folder.c_str(), nullptr);
    }
    for (int i = 0; i < count; ++i) {
        HANDLE file = ::CreateFileW(FilePath(tree, i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(file, "junk", 4, &written, nullptr);
        ::CloseHandle(file);
    }
}

// The baseline of the scan: the files listed and each opened exclusively once.
int ListAndOpen(const std::wstring& tree) {
    int found = 0;
    for (const wchar_t* sub : kSubfolders) {
        std::wstring folder = tree + sub;
        WIN32_FIND_DATAW entry;
        HANDLE search = ::FindFirstFileW((folder + L"\\*.tmp").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            HANDLE file = ::CreateFileW((folder + L"\\" + entry.cFileName).c_str(), GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                ::CloseHandle(file);
                ++found;
            }
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    return found;
}

// The baseline of the clean: every file of the tree removed by name.
void DeleteLoop(const std::wstring& tree, int count) {
    for (int i = 0; i < count; ++i) ::DeleteFileW(FilePath(tree, i).c_str());
}

// The frame hands the list's notifications to the view, as the main frame does.
CListController* g_view = nullptr;
WNDPROC g_staticProc = nullptr;
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY && g_view && reinterpret_cast<NMHDR*>(lp)->hwndFrom == g_view->GetSafeHwnd())
        return g_view->OnNotify(*reinterpret_cast<NMHDR*>(lp));
    return ::CallWindowProcW(g_staticProc, hwnd, msg, wp, lp);
}

template <typename Done>
void PumpUntil(Done done) {
    while (!done()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void Bench(CListController& view, int count) {
    const std::wstring windows = kRoot + L"\\Windows", copy = kRoot + L"\\copy";
    MakeFiles(windows, count);
    MakeFiles(copy, count);

    auto start = bench::Clock::now();
    int listed = ListAndOpen(windows);
    double bare = bench::SecondsSince(start);
    start = bench::Clock::now();
    view.RunMode(MODE_STANDARD);
    while (view.IsScanning()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpPending();
    }
    view.UpdateWindow();
    PumpPending();
    double scan = bench::SecondsSince(start);
    std::printf("Scan of %d files to the list: %.3f s (%d rows); listing and opens %.3f s (%d); ratio %.2f\n", count,
                scan, view.List().GetItemCount(), bare, listed, scan / bare);

    view.List().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    start = bench::Clock::now();
    view.m_shell.confirmPermanent = [](HWND, IListViewHost&, const SelectionAmount&) { return true; };
    view.OnCommand(ID_EDIT_DELETE);
    PumpUntil([&] { return !view.m_bBusy; });
    double clean = bench::SecondsSince(start);
    int left = ::GetFileAttributesW(FilePath(windows, 0).c_str()) == INVALID_FILE_ATTRIBUTES ? 0 : 1;
    start = bench::Clock::now();
    DeleteLoop(copy, count);
    double plain = bench::SecondsSince(start);
    std::printf("Clean of %d rows through the view: %.3f s (%s); DeleteFileW loop %.3f s; ratio %.2f\n", count, clean,
                left ? "FILES LEFT" : "all removed", plain, clean / plain);
    std::fflush(stdout);
    DeleteLoop(windows, count);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {2000, 20000};
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    CBriskoApp app;
    app.m_strLanguage = L"Default";
    HWND frame = ::CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                   nullptr, nullptr, nullptr);
    app.m_pMainWnd = win::CWnd(frame);
    win::CStatusBar bar(::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 560, 800, 20, frame,
                                          nullptr, nullptr, nullptr));
    app.m_pStatusBar = &bar;
    // Its Windows folder holds the files, and nothing else is found.
    bench::BenchMachine machine(kRoot);
    CBriskoDoc doc(machine);
    CListController view(app, doc);
    view.Create(frame);
    view.MoveWindow(0, 0, 780, 540);
    view.SetUpList();
    g_view = &view;
    g_staticProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameProc)));
    for (int count : counts) Bench(view, count);
    app.m_pStatusBar = nullptr;
    app.m_pMainWnd = win::CWnd();
    ::DestroyWindow(frame);
    return 0;
}
