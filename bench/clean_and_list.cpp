// Rows per second that AddFoundItem puts into the real list, and the
// permanent removal of one folder item against a plain DeleteFileW /
// RemoveDirectoryW loop over a copy of the same tree, at three sizes.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/BriskoApp.h"
#include "Timing.h"
#include "catalog/BriskoDoc.h"
#include "clean/CleanJob.h"
#include "view/ListController.h"

namespace {


std::wstring BenchRoot() {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path = module;
    return path.substr(0, path.rfind(L'\\')) + L"\\bench-trees";
}

// `count` files of 100 bytes, 100 to a folder.
void BuildTree(const std::wstring& root, int count) {
    ::CreateDirectoryW(root.c_str(), nullptr);
    std::string bytes(100, 'x');
    for (int i = 0; i < count; ++i) {
        std::wstring folder = root + L"\\d" + std::to_wstring(i / 100);
        if (i % 100 == 0) ::CreateDirectoryW(folder.c_str(), nullptr);
        HANDLE file = ::CreateFileW((folder + L"\\f" + std::to_wstring(i) + L".tmp").c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
}

void PlainRemove(const std::wstring& folder) {
    WIN32_FIND_DATAW find;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &find);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = find.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) PlainRemove(path);
            else ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(search, &find));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

std::vector<std::pair<std::wstring, WIN32_FIND_DATAW>> Matches(const std::wstring& root) {
    std::vector<std::pair<std::wstring, WIN32_FIND_DATAW>> matches;
    WIN32_FIND_DATAW folderFind, fileFind;
    HANDLE folders = ::FindFirstFileW((root + L"\\d*").c_str(), &folderFind);
    if (folders == INVALID_HANDLE_VALUE) return matches;
    do {
        std::wstring folder = root + L"\\" + folderFind.cFileName;
        HANDLE files = ::FindFirstFileW((folder + L"\\*.tmp").c_str(), &fileFind);
        if (files == INVALID_HANDLE_VALUE) continue;
        do matches.emplace_back(folder + L"\\" + fileFind.cFileName, fileFind);
        while (::FindNextFileW(files, &fileFind));
        ::FindClose(files);
    } while (::FindNextFileW(folders, &folderFind));
    ::FindClose(folders);
    return matches;
}

void BenchList(CListController& view, const std::wstring& root, int count) {
    auto matches = Matches(root);
    view.List().DeleteAllItems();
    auto start = bench::Clock::now();
    for (const auto& [path, find] : matches) view.AddFoundItem(path, find);
    double listed = bench::SecondsSince(start);
    // Baseline: the bare insertion of the same rows with fixed texts into a
    // plain report list of the same size.
    view.List().DeleteAllItems();
    win::CListCtrl plain(::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 700, 300,
                                           ::GetParent(view.GetSafeHwnd()), nullptr, nullptr, nullptr));
    for (int column = 0; column < 4; ++column) plain.InsertColumn(column, L"c", LVCFMT_LEFT, 100);
    start = bench::Clock::now();
    for (const auto& match : matches) {
        int row = plain.InsertItem(0, match.first, 1);
        plain.SetItemText(row, 1, L"TMP File");
        plain.SetItemText(row, 2, L"1 KB");
        plain.SetItemText(row, 3, L"01/01/2024 00:00");
    }
    double bare = bench::SecondsSince(start);
    ::DestroyWindow(plain.GetSafeHwnd());
    std::wcout << L"AddFoundItem " << count << L" rows: " << static_cast<long>(count / listed) << L" rows/s; bare insert "
               << static_cast<long>(count / bare) << L" rows/s; ratio " << listed / bare << std::endl;
}

void BenchRemoval(const std::wstring& root, int count) {
    std::wstring item = root + L"\\item-" + std::to_wstring(count), copy = root + L"\\copy-" + std::to_wstring(count);
    BuildTree(item, count);
    BuildTree(copy, count);
    auto start = bench::Clock::now();
    RemoveRowItem(item, true);
    double ours = bench::SecondsSince(start);
    start = bench::Clock::now();
    PlainRemove(copy);
    double plain = bench::SecondsSince(start);
    bool gone = ::GetFileAttributesW(item.c_str()) == INVALID_FILE_ATTRIBUTES;
    std::wcout << L"Permanent removal of " << count << L" files: " << ours << L" s (" << (gone ? L"removed" : L"LEFT")
               << L"); plain loop " << plain << L" s; ratio " << ours / plain << std::endl;
}
}  // namespace

int main(int argc, char** argv) {
    // Sizes may be given on the command line for a quick look; the default
    // is the full set.
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {1000, 10000, 100000};
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    CBriskoApp app;
    app.m_strLanguage = L"Default";
    HWND frame = ::CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                                   nullptr, nullptr);
    win::CStatusBar bar(::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame,
                                          nullptr, nullptr, nullptr));
    app.m_pStatusBar = &bar;  // every removed file shows its status text, as in the program
    CBriskoDoc doc;
    CListController view(app, doc);
    view.Create(frame);
    view.MoveWindow(0, 0, 780, 500);
    view.SetUpList();

    std::wstring root = BenchRoot();
    PlainRemove(root);
    ::CreateDirectoryW(root.c_str(), nullptr);
    for (int count : counts) {
        std::wstring listed = root + L"\\list-" + std::to_wstring(count);
        BuildTree(listed, count);
        BenchList(view, listed, count);
        PlainRemove(listed);
        BenchRemoval(root, count);
    }
    PlainRemove(root);
    app.m_pStatusBar = nullptr;
    ::DestroyWindow(frame);
    return 0;
}
