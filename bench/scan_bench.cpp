// Time of a full Standard scan over a seeded machine against a plain listing
// of the same folders with the same patterns, and the catalogue's
// construction at start-up.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/BriskoApp.h"
#include "BenchMachine.h"
#include "Timing.h"
#include "catalog/BriskoDoc.h"
#include "win/Path.h"
#include "scan/FoundItemSink.h"
#include "scan/Scans.h"
#include "view/ListController.h"

namespace {
const std::wstring kTree = L"C:\\brisko-bench";

// The shell folders the catalogue walks, and one fixed FAT32 drive E:.
class BenchMachine : public bench::BenchMachine {
public:
    BenchMachine()
        : bench::BenchMachine(kTree, {{kCsidlAppData, L"Roaming"},
                                      {kCsidlProgramFiles, L"ProgramFiles"},
                                      {kCsidlLocalAppData, L"Local"},
                                      {kCsidlMyMusic, L"Music"}}) {}
    DWORD LogicalDrives() const override { return 1u << 4; }
    UINT DriveType(const std::wstring&) const override { return DRIVE_FIXED; }
    std::wstring DriveRootFolder(const std::wstring&) const override { return kTree + L"\\DriveE"; }
    bool IsVolumeRoot(const std::wstring&) const override { return true; }
    bool VolumeInformation(const std::wstring&, std::wstring&, std::wstring& fs) const override {
        fs = L"FAT32";
        return true;
    }
};

struct CountingSink : IFoundItemSink {
    std::vector<std::wstring> paths;
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW&) override { paths.push_back(std::move(path)); }
};

// Where the matches go: folders below the tree and a file name pattern each.
const std::pair<const wchar_t*, const wchar_t*> kTargets[] = {
    {L"Windows", L"f%.log"},           {L"Windows\\Log", L"f%.txt"},
    {L"Windows\\Debug\\UserMode", L"f%.dmp"}, {L"Windows\\System32", L"f%.tmp"},
    {L"Windows\\Minidump", L"f%.dmp"}, {L"Windows\\Pchealth\\ErrorRep", L"f%.cab"},
    {L"Windows\\Sysbckup", L"f%.dll"}, {L"Windows\\System32\\logfiles", L"f%.evt"},
    {L"DriveE", L"f%.chk"},            {L"ProgramFiles\\Directx", L"f%.log"},
};

void MakeFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
}

// Seeds matches number `from` up to `to`, spread evenly over the targets.
void Seed(int from, int to) {
    for (int i = from; i < to; ++i) {
        const auto& target = kTargets[i % (sizeof(kTargets) / sizeof(kTargets[0]))];
        std::wstring folder = kTree + L"\\" + target.first;
        if (i < 10) MakeFolders(folder);
        std::wstring name = target.second;
        name.replace(name.find(L'%'), 1, std::to_wstring(i));
        HANDLE file = ::CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    }
}

// Every folder-and-pattern search of the Standard scan, and its whole items.
struct Listing {
    std::vector<std::pair<std::wstring, std::wstring>> walks;
    std::vector<std::wstring> items;
};

Listing StandardListing(const CBriskoDoc& doc, const std::wstring& drive) {
    Listing l;
    for (const wchar_t* p : doc.m_listWindowsRootPatterns) l.walks.push_back({doc.m_szWindowsDir, p});
    for (const CTargetPair& p : doc.m_listWindowsPatternTargets)
        l.walks.push_back({JoinPath(doc.m_szWindowsDir, p.folder), p.pattern});
    l.walks.push_back({doc.m_szWindowsDir + L"\\System32\\Msdtc", L"*.*"});
    for (const wchar_t* f : doc.m_listProfileIEFolders) l.walks.push_back({JoinPath(doc.m_szSystemDrive, f), L"*.bak"});
    l.walks.push_back({doc.m_szAppData + L"\\Microsoft\\Internet Explorer", L"*.bak"});
    for (const wchar_t* p : doc.m_listRootFileNames) l.walks.push_back({L"C:\\", p});
    l.walks.push_back({L"C:\\Boot", L"*.log"});
    for (const wchar_t* f : doc.m_listWindowsFolders) l.items.push_back(JoinPath(doc.m_szWindowsDir, f));
    for (const wchar_t* f : doc.m_listAppDataFolders) l.items.push_back(JoinPath(doc.m_szAppData, f));
    l.items.push_back(JoinPath(drive, L"System Volume Information"));
    for (const wchar_t* p : doc.m_listDriveRootPatterns) l.walks.push_back({drive, p});
    for (const wchar_t* f : doc.m_listFoundFolders) l.items.push_back(JoinPath(drive, f));
    l.walks.push_back({doc.m_szProgramFiles + L"\\Directx", L"*.*"});
    l.walks.push_back({doc.m_szMyMusic, L"music.*"});
    return l;
}

size_t PlainListing(const Listing& l) {
    std::vector<std::wstring> paths;
    WIN32_FIND_DATAW fd;
    for (const auto& [folder, pattern] : l.walks) {
        HANDLE find = ::FindFirstFileW(JoinPath(folder, pattern).c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if (wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L".."))
                paths.push_back(JoinPath(folder, fd.cFileName));
        } while (::FindNextFileW(find, &fd));
        ::FindClose(find);
    }
    for (const std::wstring& item : l.items) {
        HANDLE find = ::FindFirstFileW(item.c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            paths.push_back(item);
            ::FindClose(find);
        }
    }
    return paths.size();
}

void MeasureScan(int files, CBriskoDoc& doc) {
    Listing listing = StandardListing(doc, kTree + L"\\DriveE");
    size_t baselineCount = 0, scanCount = 0;
    double baseline = bench::BestOf(3, [&] { baselineCount = PlainListing(listing); });
    double scan = bench::BestOf(3, [&] {
        CountingSink sink;
        RunStandardScan(doc, sink);
        scanCount = sink.paths.size();
    });
    std::printf("standard scan, %6d files: %8.3f s (%zu items) | plain listing %8.3f s (%zu entries) | ratio %.2f\n",
                files, scan, scanCount, baseline, baselineCount, scan / baseline);
}

// The Standard command into the real result list: the scan with the list's
// in-use test and texts, drawn once, and sorted by name.
void MeasureIntoList(int files, CBriskoDoc& doc) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    CBriskoApp app;
    app.m_strLanguage = L"Default";
    HWND frame = ::CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr, nullptr,
                                   nullptr, nullptr);
    CListController view{app, doc};
    if (!view.Create(frame)) return;
    view.MoveWindow(0, 0, 700, 300);
    view.SetUpList();
    double seconds = bench::BestOf(1, [&] {
        view.RunMode(MODE_STANDARD);
        while (view.IsScanning()) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        }
    });
    std::printf("standard scan into the list, %6d files: %8.3f s (%d rows, %.0f rows/s)\n", files, seconds,
                view.List().GetItemCount(), view.List().GetItemCount() / seconds);
    ::DestroyWindow(frame);
}
}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::string(argv[1]) == "quick";  // 10,000 files only
    const int kBuilds = 50;
    double build = bench::BestOf(1, [] {
                       for (int i = 0; i < kBuilds; ++i) CBriskoDoc doc;
                   }) /
                   kBuilds;
    std::printf("catalogue construction on this machine: %.3f ms\n", build * 1000);

    BenchMachine machine;
    Seed(0, 10000);
    {
        CBriskoDoc doc(machine);
        MeasureScan(10000, doc);
        MeasureIntoList(10000, doc);
    }
    if (!quick) {
        Seed(10000, 100000);
        CBriskoDoc doc(machine);
        MeasureScan(100000, doc);
        MeasureIntoList(100000, doc);
    }
    std::fflush(stdout);
    return 0;
}
