// The permanent removal of a deep tree, one folder and one file per level,
// through the removal's handle walk, against a plain recursive DeleteFileW /
// RemoveDirectoryW loop by full paths over a copy of the same tree (what a
// walk by paths costs: every call resolves an ever longer path). Depths are
// the arguments (default 400, 1000).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Timing.h"
#include "clean/FolderRemoval.h"
#include "item/ItemPath.h"
#include "clean/RemovalReport.h"

namespace {

std::wstring BenchRoot() {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path = module;
    return path.substr(0, path.rfind(L'\\')) + L"\\bench-deep";
}

void WriteSmallFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(ApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, "junk", 4, &written, nullptr);
    ::CloseHandle(file);
}

// `levels` folders named "d", each holding one file and the next folder.
void BuildDeepTree(const std::wstring& root, int levels) {
    std::wstring folder = root;
    ::CreateDirectoryW(ApiPath(folder).c_str(), nullptr);
    for (int level = 0; level < levels; ++level) {
        WriteSmallFile(folder + L"\\f.tmp");
        folder += L"\\d";
        ::CreateDirectoryW(ApiPath(folder).c_str(), nullptr);
    }
}

void PlainRemove(const std::wstring& folder) {
    WIN32_FIND_DATAW find;
    HANDLE search = ::FindFirstFileW(ApiPath(folder + L"\\*").c_str(), &find);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = find.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) PlainRemove(path);
            else ::DeleteFileW(ApiPath(path).c_str());
        } while (::FindNextFileW(search, &find));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(ApiPath(folder).c_str());
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(ApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> depths;
    for (int i = 1; i < argc; ++i) depths.push_back(std::atoi(argv[i]));
    if (depths.empty()) depths = {400, 1000};
    std::wstring root = BenchRoot();
    ::CreateDirectoryW(root.c_str(), nullptr);
    std::printf("%8s %14s %14s %8s %s\n", "levels", "handle walk s", "path loop s", "ratio", "target (1,000 levels < 10 s)");
    int status = 0;
    for (int levels : depths) {
        std::wstring ours = root + L"\\ours" + std::to_wstring(levels);
        std::wstring plain = root + L"\\plain" + std::to_wstring(levels);
        BuildDeepTree(ours, levels);
        BuildDeepTree(plain, levels);
        auto start = bench::Clock::now();
        bool gone = RemoveFolderTree(ours, MachineRemoval());
        double walk = bench::SecondsSince(start);
        start = bench::Clock::now();
        PlainRemove(plain);
        double loop = bench::SecondsSince(start);
        bool met = levels < 1000 || walk < 10.0;
        if (!gone || Exists(ours) || !met) status = 1;
        std::printf("%8d %14.2f %14.2f %8.2f %s%s\n", levels, walk, loop, loop > 0 ? walk / loop : 0.0,
                    levels < 1000 ? "-" : (walk < 10.0 ? "met" : "MISSED"), gone && !Exists(ours) ? "" : " (tree left)");
        if (Exists(ours)) PlainRemove(ours);
    }
    ::RemoveDirectoryW(root.c_str());
    return status;
}
