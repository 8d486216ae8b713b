// What counting a clean costs: the permanent removal of one folder item
// whose tree holds N files, told to a tally that sizes every file, against
// the same removal told to nobody, on two copies of the same tree.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Timing.h"
#include "clean/CleanJob.h"
#include "clean/CleanSummary.h"

namespace {

std::wstring BenchRoot() {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path = module;
    return path.substr(0, path.rfind(L'\\')) + L"\\bench-tally";
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

}  // namespace

int main(int argc, char** argv) {
    std::wstring root = BenchRoot();
    ::CreateDirectoryW(root.c_str(), nullptr);
    for (int i = 1; i < (argc > 1 ? argc : 2); ++i) {
        int count = argc > 1 ? std::atoi(argv[i]) : 5000;
        std::wstring silent = root + L"\\silent", counted = root + L"\\counted";
        BuildTree(silent, count);
        BuildTree(counted, count);

        auto start = bench::Clock::now();
        RemoveRowItem(silent, true);
        double bare = bench::SecondsSince(start);

        CRemovalTally tally(SilentReport());
        RemovalContext removal{MachineGuards(), tally};
        start = bench::Clock::now();
        tally.Start();
        RemoveRowItem(counted, true, removal);
        CleanSummary summary;
        summary.Add(tally.Finish());
        double tallied = bench::SecondsSince(start);
        std::wprintf(L"Removal of a folder of %d files: told to nobody %.3f s; counted %.3f s (%ls); ratio %.2f\n",
                     count, bare, tallied, CleanSummaryText(summary).c_str(), tallied / bare);
    }
    ::RemoveDirectoryW(root.c_str());
    return 0;
}
