// The result list at scale, through the real view on a visible frame, at
// several numbers of file rows (default 2000 100000; a million as
// `scripts/bench.sh list_scale 1000000`, which takes about half an hour;
// `--clean-max=N` leaves out the clean of more rows than N):
// - a Standard scan to the filled, sorted list, against a bare listing of
//   the same files plus the in-use open of each;
// - the peak of the program's heap per row, beyond the paths' characters
//   (every allocation counted; the virtual list holds no memory per row);
// - a sort by each column, Select All and Invert Selection;
// - a permanent clean of every row, against the guarded removal of a copy
//   of the same files in a loop without the view, and a plain DeleteFileW
//   loop over a third copy (what Wine's removal costs at the least);
// - the longest wait of a WM_NULL sent from another process during the
//   scan, Select All and a second clean of the same rows (up to 100,000),
//   against the same wait while the window does nothing but wait for
//   messages (what the machine's load alone costs).
// The files are made by the host's own tools (Wine makes files slowly in a
// large folder), spread over the folders of the Windows folder that the
// Standard scan walks whole.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "BenchMachine.h"
#include "HostShell.h"
#include "Timing.h"
#include "app/BriskoApp.h"
#include "catalog/BriskoDoc.h"
#include "clean/CleanJob.h"
#include "scan/FoundItemOrder.h"
#include "scan/FoundItems.h"
#include "scan/Modes.h"
#include "res/resource.h"
#include "view/ListController.h"
#include "win/Controls.h"

// Every allocation of the program is counted, with a header of its own
// standing for the heap's: the peak of the bytes in use, per row, is the
// program's memory that grows with the list.
namespace {
std::atomic<long long> g_heapInUse{0};
std::atomic<long long> g_heapPeak{0};
constexpr size_t kHeader = 16;

void* CountedAlloc(size_t size) {
    auto* block = static_cast<char*>(std::malloc(size + kHeader));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(block) = size;
    long long now = g_heapInUse += static_cast<long long>(size + kHeader);
    long long peak = g_heapPeak;
    while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now)) {
    }
    return block + kHeader;
}

void CountedFree(void* p) {
    if (!p) return;
    char* block = static_cast<char*>(p) - kHeader;
    g_heapInUse -= static_cast<long long>(*reinterpret_cast<size_t*>(block) + kHeader);
    std::free(block);
}
}  // namespace

void* operator new(size_t size) { return CountedAlloc(size); }
void* operator new[](size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, size_t) noexcept { CountedFree(p); }

namespace {

const std::wstring kRoot = L"C:\\brisko-bench-scale";
const wchar_t* const kFolders[] = {L"Debug\\UserMode", L"Debug\\WIA",        L"LiveKernelReports",
                                   L"ModemLogs",       L"PLA\\Reports",      L"Log",
                                   L"System32\\dtclog", L"System32\\logfiles", L"Pchealth\\ErrorRep",
                                   L"Pchealth\\HelpCtr\\Logs", L"Pchealth\\HelpCtr\\OfflineCache",
                                   L"Pchealth\\HelpCtr\\Temp", L"tracing\\wzcmon"};
constexpr int kFolderCount = static_cast<int>(std::size(kFolders));

using bench::RunHostShell;
using bench::UnixPathOf;

std::wstring FolderOf(const std::wstring& windows, int folder) { return windows + L"\\" + kFolders[folder]; }

// Files f0.tmp ... of `count`, by turn in each walked folder, four bytes each.
void MakeFiles(const std::wstring& windows, int count) {
    for (int folder = 0; folder < kFolderCount; ++folder) {
        std::wstring path = FolderOf(windows, folder);
        for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
            ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
        ::CreateDirectoryW(path.c_str(), nullptr);
        if (folder >= count) continue;
        std::string unix = UnixPathOf(path);
        RunHostShell("cd '" + unix + "' && seq -f f%.0f.tmp " + std::to_string(folder) + " " +
                     std::to_string(kFolderCount) + " " + std::to_string(count - 1) +
                     " | xargs sh -c 'for f; do printf junk > $f; done' x");
    }
}

template <typename Visit>
void ForEachFile(const std::wstring& windows, Visit visit) {
    for (int folder = 0; folder < kFolderCount; ++folder) {
        std::wstring path = FolderOf(windows, folder);
        WIN32_FIND_DATAW entry;
        HANDLE search = ::FindFirstFileW((path + L"\\*.tmp").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) continue;
        do visit(path + L"\\" + entry.cFileName);
        while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
}

// The scan's baseline: the files listed and each opened exclusively once.
int ListAndOpen(const std::wstring& windows) {
    int opened = 0;
    ForEachFile(windows, [&](const std::wstring& path) {
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        ::CloseHandle(file);
        ++opened;
    });
    return opened;
}

// The files of a tree in the order a clean of the sorted list removes
// them: from the last row, by name, up.
std::vector<std::wstring> CleanOrder(const std::wstring& windows) {
    std::vector<std::wstring> paths;
    ForEachFile(windows, [&](const std::wstring& path) { paths.push_back(path); });
    std::sort(paths.begin(), paths.end(),
              [](const std::wstring& a, const std::wstring& b) { return CompareFoldedText(a, b) > 0; });
    return paths;
}

// Another process that sends WM_NULL to the window every few milliseconds
// and keeps the longest wait, until told to stop.
class Pinger {
public:
    explicit Pinger(HWND window) {
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ::SetHandleInformation(m_stop, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        std::wstring line = L"\"" + std::wstring(self) + L"\" --ping " +
                            std::to_wstring(reinterpret_cast<INT_PTR>(window)) + L" " +
                            std::to_wstring(reinterpret_cast<INT_PTR>(m_stop));
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &m_process);
        // It has started sending: answered all the while.
        for (auto start = bench::Clock::now(); bench::SecondsSince(start) < 0.2;) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }
    // The longest wait in milliseconds. The window answers while the
    // pinger ends: it may be waiting for an answer.
    DWORD Stop() {
        ::SetEvent(m_stop);
        while (::MsgWaitForMultipleObjects(1, &m_process.hProcess, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        DWORD longest = 0;
        ::GetExitCodeProcess(m_process.hProcess, &longest);
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_stop);
        return longest;
    }

private:
    HANDLE m_stop = nullptr;
    PROCESS_INFORMATION m_process{};
};

// Tells on the error stream when in its run the longest wait came, and
// every wait over 100 ms: where in a job the window was deaf.
int RunPinger(HWND window, HANDLE stop) {
    DWORD longest = 0;
    double longestAt = 0;
    std::string slow;
    const auto begun = bench::Clock::now();
    while (::WaitForSingleObject(stop, 5) == WAIT_TIMEOUT) {
        auto start = bench::Clock::now();
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
        const DWORD waited = static_cast<DWORD>(bench::SecondsSince(start) * 1000);
        const double at = std::chrono::duration<double>(start - begun).count();
        if (waited > 100) slow += " " + std::to_string(waited) + " ms at " + std::to_string(at).substr(0, 6) + " s;";
        if (waited > longest) longest = waited, longestAt = at;
    }
    std::fprintf(stderr, "  (pinger: longest wait %lu ms, %.2f s after it began; waits over 100 ms:%s)\n", longest,
                 longestAt, slow.empty() ? " none" : slow.c_str());
    return static_cast<int>(longest);
}

// The processor time so far of this thread, or of the whole program.
double CpuSeconds(bool thisThread) {
    FILETIME created, ended, kernel, user;
    BOOL ok = thisThread ? ::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user)
                         : ::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user);
    if (!ok) return 0;
    auto seconds = [](const FILETIME& t) { return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
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

// The frame hands the list's notifications to the view, as the main frame does.
// While a clean is timed it also notes when the title loses its percentage:
// the rows are through, and what follows is the end of the clean (the next
// mode's scan, after a clean that emptied the list).
CListController* g_view = nullptr;
WNDPROC g_staticProc = nullptr;
bool g_timingRows = false;
bench::Clock::time_point g_rowsDone;
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SETTEXT && g_timingRows && !wcschr(reinterpret_cast<const wchar_t*>(lp), L'%')) {
        g_rowsDone = bench::Clock::now();
        g_timingRows = false;
    }
    if (msg == WM_NOTIFY && g_view && reinterpret_cast<NMHDR*>(lp)->hwndFrom == g_view->GetSafeHwnd())
        return g_view->OnNotify(*reinterpret_cast<NMHDR*>(lp));
    return ::CallWindowProcW(g_staticProc, hwnd, msg, wp, lp);
}

// The figures against their targets, printed together at the end of a size.
class Targets {
public:
    void Check(const std::string& what, double value, double limit) {
        m_lines += "  " + what + " " + Text(value) + " (at most " + Text(limit) + "): " +
                   (value <= limit ? "met" : "MISSED") + "\n";
    }
    void Print() const { std::printf("Targets:\n%s", m_lines.c_str()); }

private:
    static std::string Text(double value) {
        char text[32];
        std::snprintf(text, sizeof(text), value >= 10 ? "%.0f" : "%.3g", value);
        return text;
    }
    std::string m_lines;
};

// Wine's own list control alone, with no view over it and, as the view
// does, not drawn meanwhile: selecting and unselecting every row of a
// virtual list of `count` rows, the floor under Select All and Invert.
void MeasurePlainList(HWND frame, int count) {
    HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                                  780, 540, frame, nullptr, nullptr, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 700;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    ::SendMessageW(list, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL);
    ::UpdateWindow(list);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    auto setAll = [&](UINT bits) {
        state.state = bits;
        ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    };
    auto start = bench::Clock::now();
    setAll(LVIS_SELECTED);
    const double all = bench::SecondsSince(start);
    start = bench::Clock::now();
    int visited = 0;
    for (int row = -1; (row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
        ++visited;
    const double walk = bench::SecondsSince(start);
    // One repaint as a clean's makes it: drawing let on, the rows in sight drawn, off again.
    start = bench::Clock::now();
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const double repaint = bench::SecondsSince(start);
    start = bench::Clock::now();
    setAll(0);
    const double none = bench::SecondsSince(start);
    std::printf("  Wine's list control alone, %d virtual rows: select all %.3f s, unselect all %.3f s; asking it "
                "for each selected row %.3f s (%d rows, %.2f us each); one repaint with every row selected %.3f s\n",
                count, all, none, walk, visited, walk * 1e6 / std::max(visited, 1), repaint);
    ::DestroyWindow(list);
}

template <typename F>
double Seconds(F f) {
    auto start = bench::Clock::now();
    f();
    return bench::SecondsSince(start);
}

constexpr DWORD kNotPinged = MAXDWORD;

// The clean once more, of the same rows made and found again, while the
// pinger sends WM_NULL: the longest wait, or kNotPinged above 100,000 rows.
// The timed clean runs without it: each WM_NULL wakes the window's thread
// and the Wine server, which a clean of a user's never pays, and the
// removal loop it is held against never bears.
DWORD PingedClean(CListController& view, HWND frame, const std::wstring& windows, int count,
                  double timed) {
    if (count > 100000) return kNotPinged;
    MakeFiles(windows, count);
    view.RunMode(MODE_STANDARD);
    PumpUntil([&] { return !view.IsScanning(); });
    view.OnCommand(ID_EDIT_SELECT_ALL);
    PumpPending();
    Pinger pings(frame);
    const double clean = Seconds([&] {
        view.StartClean(true);
        PumpUntil([&] { return !view.m_bBusy; });
    });
    const DWORD wait = pings.Stop();
    std::printf("  the same clean again while another program sends WM_NULL: %.2f s (%.2f of the timed one), "
                "longest wait %lu ms\n",
                clean, clean / timed, wait);
    return wait;
}

void Bench(CBriskoApp& app, HWND frame, int count, bool withClean) {
    const std::wstring tree = kRoot + L"\\" + std::to_wstring(count);
    const std::wstring windows = tree + L"\\Windows", copy = tree + L"\\copy", alone = tree + L"\\alone";
    double made = Seconds([&] {
        MakeFiles(windows, count);
        if (withClean) MakeFiles(copy, count);
        if (withClean) MakeFiles(alone, count);
        // The host writes the new files out before anything is measured:
        // a write-back under way would weigh on whichever measure it meets.
        RunHostShell("sync");
    });
    std::printf("== %d file rows (files made in %.1f s)\n", count, made);
    bench::BenchMachine machine(tree);
    CBriskoDoc doc(machine);
    CListController view(app, doc);
    view.Create(frame);
    view.MoveWindow(0, 0, 780, 540);
    view.SetUpList();
    g_view = &view;

    // Each measure twice, the faster counts: the first pass over new files
    // also fills the system's caches. The baseline and the engine's scan go
    // by turns, so that a machine that slows down or speeds up meanwhile
    // weighs on both alike.
    int opened = 0;
    ListAndOpen(windows);
    struct Counting : IFoundItemSink {
        int n = 0;
        void AddFoundItem(std::wstring, const WIN32_FIND_DATAW&) override { ++n; }
    } counting;
    double bare = 1e9, engine = 1e9, kept = 1e9;
    for (int turn = 0; turn < 2; ++turn) {
        bare = std::min(bare, Seconds([&] { opened = ListAndOpen(windows); }));
        counting.n = 0;
        engine = std::min(engine, Seconds([&] { RunModeScan(doc, MODE_STANDARD, counting); }));
    }
    // The same scan keeping its records in a listing, sorted, on this thread:
    // what the view's scan costs without the window and its worker.
    kept = Seconds([&] {
        FoundItems listing;
        CFoundItemCollector collector(listing, MODE_STANDARD);
        RunModeScan(doc, MODE_STANDARD, collector);
        SortFoundItems(listing, kColumnName, true);
    });
    // The window idle: what a WM_NULL waits while nothing of the program works.
    Pinger idlePings(frame);
    PumpUntil([start = bench::Clock::now()] { return bench::SecondsSince(start) > 5; });
    const DWORD idleWait = idlePings.Stop();
    std::printf("The window idle for 5 s: longest WM_NULL wait %lu ms\n", idleWait);
    const long long heapBefore = g_heapInUse;
    g_heapPeak = heapBefore;
    Pinger scanPings(frame);
    const int passes = count >= 500000 ? 1 : 2;  // a million rows take long enough once
    double scan = bench::BestOf(passes, [&] {
        view.RunMode(MODE_STANDARD);
        PumpUntil([&] { return !view.IsScanning(); });
        view.UpdateWindow();
        PumpPending();
    });
    DWORD scanWait = scanPings.Stop();
    const int rows = view.List().GetItemCount();
    Targets targets;
    targets.Check("scan to the sorted list, ratio to the listing", scan / bare, 1.25);
    targets.Check("longest WM_NULL wait during the scan, ms", scanWait, 100);
    std::printf("Scan to the sorted list: %.2f s (%d rows); listing and in-use opens %.2f s (%d); ratio %.2f; "
                "longest WM_NULL wait %lu ms\n",
                scan, rows, bare, opened, scan / bare, scanWait);
    std::printf("  the engine's scan alone, into a counter: %.2f s (%d), ratio %.2f; into a kept, sorted listing "
                "without the view %.2f s, ratio %.2f\n",
                engine, counting.n, engine / bare, kept, kept / bare);

    ULONGLONG pathBytes = 0;
    for (size_t row = 0; row < view.Items().Count(); ++row) pathBytes += view.Items()[row].path.size() * sizeof(wchar_t);
    const double held = (static_cast<double>(g_heapInUse) - heapBefore - pathBytes) / std::max(rows, 1);
    const double peak = (static_cast<double>(g_heapPeak) - heapBefore - pathBytes) / std::max(rows, 1);
    targets.Check("heap per row beyond the paths' characters, held", held, 300);
    std::printf("Heap beyond the paths' characters (%.1f MB of them): %.0f bytes per row held, %.0f at the peak "
                "(scan, fill and sort)\n",
                pathBytes / 1048576.0, held, peak);

    const char* names[] = {"File Name", "Type", "Size", "Date Modified"};
    for (int column : {1, 0, 2, 3, 0}) {  // each from another column's order
        double up = Seconds([&] { view.SortRows(column, true); });
        double down = Seconds([&] { view.SortRows(column, false); });
        std::printf("Sort by %s: %.3f s ascending, %.3f s descending\n", names[column], up, down);
        targets.Check(std::string("sort by ") + names[column] + ", s", std::max(up, down), 1.5);
    }
    view.SortRows(0, true);
    std::printf("Peak heap beyond the paths' characters with the sorts: %.0f bytes per row\n",
                (static_cast<double>(g_heapPeak) - heapBefore - pathBytes) / std::max(rows, 1));

    Pinger selectPings(frame);
    double selectAll = Seconds([&] {
        view.OnCommand(ID_EDIT_SELECT_ALL);
        PumpPending();
    });
    DWORD selectWait = selectPings.Stop();
    Pinger invertPings(frame);
    double invertAll = Seconds([&] {
        view.OnCommand(ID_EDIT_INVERT_SELECTION);
        PumpPending();
    });
    double invertNone = Seconds([&] {
        view.OnCommand(ID_EDIT_INVERT_SELECTION);
        PumpPending();
    });
    view.List().SetItemState(rows / 2, 0, LVIS_SELECTED);
    double invertOne = Seconds([&] {
        view.OnCommand(ID_EDIT_INVERT_SELECTION);
        PumpPending();
    });
    DWORD invertWait = invertPings.Stop();
    std::printf("Select All %.3f s, longest WM_NULL wait %lu ms; Invert Selection %.3f s (all selected), %.3f s "
                "(none), %.3f s (all but one), longest WM_NULL wait %lu ms\n",
                selectAll, selectWait, invertAll, invertNone, invertOne, invertWait);
    MeasurePlainList(frame, count);
    targets.Check("Select All, s", selectAll, 0.2);
    targets.Check("longest WM_NULL wait during Select All, ms", selectWait, 100);
    targets.Check("Invert Selection, the longest of the three, s", std::max({invertAll, invertNone, invertOne}), 0.2);

    if (!withClean) {
        std::printf("(the clean of this many rows is left out)\n");
        targets.Print();
        std::fflush(stdout);
        g_view = nullptr;
        view.DestroyWindow();
        return;
    }
    view.OnCommand(ID_EDIT_SELECT_ALL);
    PumpPending();
    const double windowBusyBefore = CpuSeconds(true), programBusyBefore = CpuSeconds(false);
    const auto cleanStart = bench::Clock::now();
    g_timingRows = true;
    double started = 0;
    double clean = Seconds([&] {
        started = Seconds([&] { view.StartClean(true); });
        PumpUntil([&] { return !view.m_bBusy; });
    });
    const double rowsOnly = g_timingRows ? clean : std::chrono::duration<double>(g_rowsDone - cleanStart).count();
    g_timingRows = false;
    const double windowBusy = CpuSeconds(true) - windowBusyBefore;
    const double programBusy = CpuSeconds(false) - programBusyBefore;
    const int left = view.List().GetItemCount();
    // The baseline, and the removal of each row's item alone, without the
    // view and its worker, in the order of the clean.
    std::vector<std::wstring> paths = CleanOrder(copy);
    double plain = Seconds([&] {
        for (const std::wstring& path : paths) ::DeleteFileW(path.c_str());
    });
    std::printf("Permanent clean of every row: %.2f s (%d rows left); DeleteFileW loop %.2f s; ratio %.2f\n", clean,
                left, plain, clean / plain);
    std::printf("  of which the rows, to the title without its percentage: %.2f s, ratio %.2f; the start on the "
                "window's thread %.3f s\n",
                rowsOnly, rowsOnly / plain, started);
    std::printf("  processor time meanwhile: %.2f s of the window's thread, %.2f s of the whole program\n", windowBusy,
                programBusy);
    // The view's and the worker's own share: the same number of rows cleaned
    // with a removal that does nothing.
    WIN32_FIND_DATAW find{};
    for (int i = 0; i < count; ++i) view.InsertFoundRow(windows + L"\\row" + std::to_wstring(i) + L".tmp", find, false);
    view.m_removeItem = [](const std::wstring&, bool) {};
    view.OnCommand(ID_EDIT_SELECT_ALL);
    double machinery = Seconds([&] {
        view.StartClean(true);
        PumpUntil([&] { return !view.m_bBusy; });
    });
    view.m_removeItem = nullptr;
    std::printf("  the view and its worker alone, removing nothing: %.2f s (%.0f us per row)\n", machinery,
                machinery * 1e6 / std::max(count, 1));
    paths = CleanOrder(alone);
    double removal = Seconds([&] {
        CRemovalSession session;
        for (const std::wstring& path : paths) RemoveRowItem(path, true, MachineRemoval(), session);
    });
    std::printf("  the guarded removal of the items alone, without the view: %.2f s, ratio %.2f to the "
                "DeleteFileW loop; the clean's ratio to it %.2f\n",
                removal, removal / plain, clean / removal);
    const DWORD cleanWait = PingedClean(view, frame, windows, count, clean);
    targets.Check("permanent clean, ratio to the guarded removal loop", clean / removal, 1.25);
    if (cleanWait != kNotPinged) targets.Check("longest WM_NULL wait during the clean, ms", cleanWait, 100);
    targets.Print();
    std::fflush(stdout);
    g_view = nullptr;
    view.DestroyWindow();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--ping")
        return RunPinger(reinterpret_cast<HWND>(static_cast<INT_PTR>(std::atoll(argv[2]))),
                         reinterpret_cast<HANDLE>(static_cast<INT_PTR>(std::atoll(argv[3]))));
    // Sizes, and "--clean-max=N" to leave out the clean of more rows than N.
    std::vector<int> counts;
    int cleanMax = 1 << 30;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.rfind("--clean-max=", 0) == 0) cleanMax = std::atoi(argument.c_str() + 12);
        else counts.push_back(std::atoi(argument.c_str()));
    }
    if (counts.empty()) counts = {2000, 100000};
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
    g_staticProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameProc)));
    for (int count : counts) Bench(app, frame, count, count <= cleanMax);
    app.m_pStatusBar = nullptr;
    app.m_pMainWnd = win::CWnd();
    ::DestroyWindow(frame);
    return 0;
}
