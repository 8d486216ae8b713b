// What each step of a guarded file removal costs, per file, against a plain
// DeleteFileW of the same number of files (default 2000; a size as the
// argument): opening relative to the held folder, the facts of the handle,
// the names the platform reports for it, the volume, the removal itself, and
// the resolution of a canonical path.
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "HostShell.h"
#include "Timing.h"
#include "clean/CleanJob.h"
#include "clean/EntryHandle.h"
#include "clean/HeldEntry.h"
#include "item/ItemPath.h"
#include "item/Links.h"
#include "clean/FolderRemoval.h"
#include "clean/RemovalSession.h"
#include <iterator>

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE, HANDLE, PIO_APC_ROUTINE, PVOID, PIO_STATUS_BLOCK, PVOID, ULONG,
                                              FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING, BOOLEAN);

namespace {

const std::wstring kRoot = L"C:\\brisko-bench-steps";

using bench::UnixPathOf;

// Files f0.tmp ... made by the host's shell, as a browser or the system
// would leave them (Wine adds attributes of its own to the files it makes).
std::vector<std::wstring> MakeFiles(const std::wstring& folder, int count) {
    ::CreateDirectoryW(kRoot.c_str(), nullptr);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    bench::RunHostShell("cd '" + UnixPathOf(folder) + "' && seq -f f%.0f.tmp 0 " + std::to_string(count - 1) +
                        " | xargs sh -c 'for f; do printf junk > $f; done' x");
    std::vector<std::wstring> names;
    for (int i = 0; i < count; ++i) names.push_back(L"f" + std::to_wstring(i) + L".tmp");
    // Wine's handle of a host program may end before the program does.
    for (int wait = 0; wait < 600 && ::GetFileAttributesW((folder + L"\\" + names.back()).c_str()) ==
                                         INVALID_FILE_ATTRIBUTES; ++wait)
        ::Sleep(100);
    ::Sleep(300);
    return names;
}

// Microseconds per file of `step` over every name, relative to a held folder.
double PerFile(const std::wstring& folder, const std::vector<std::wstring>& names,
               const std::function<void(HANDLE folder, const std::wstring& name)>& step) {
    OpenedEntry held = OpenEntryAt(folder, kRemovalAccess);
    auto start = bench::Clock::now();
    for (const std::wstring& name : names) step(held.handle.Get(), name);
    return bench::SecondsSince(start) * 1e6 / std::max<size_t>(names.size(), 1);
}

// The same, the best of three runs, for a step that changes nothing.
double BestPerFile(const std::wstring& folder, const std::vector<std::wstring>& names,
                   const std::function<void(HANDLE folder, const std::wstring& name)>& step) {
    double best = 1e12;
    for (int run = 0; run < 3; ++run) best = std::min(best, PerFile(folder, names, step));
    return best;
}

void Report(const char* what, double us, double baseline) {
    std::printf("  %-52s %7.1f us per file (%.2f of DeleteFileW)\n", what, us, us / baseline);
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    int set = 0;
    auto fresh = [&] {
        std::wstring folder = kRoot + L"\\set" + std::to_wstring(set++);
        return std::make_pair(folder, MakeFiles(folder, count));
    };
    // The removals, by turns on fresh files, three rounds: the best of each counts.
    const struct {
        const char* what;
        std::function<void(HANDLE, const std::wstring&, const std::wstring&)> remove;
    } removals[] = {
        {"DeleteFileW", [](HANDLE, const std::wstring& folder,
                           const std::wstring& name) { ::DeleteFileW((folder + L"\\" + name).c_str()); }},
        {"open relative, plain disposition, close",
         [](HANDLE root, const std::wstring&, const std::wstring& name) {
             OpenedEntry e = OpenChild(root, name, kRemovalAccess);
             FILE_DISPOSITION_INFO dispose{TRUE};
             ::SetFileInformationByHandle(e.handle.Get(), FileDispositionInfo, &dispose, sizeof(dispose));
         }},
        {"the checked hold of a child, its removal", [](HANDLE root, const std::wstring& folder,
                                                       const std::wstring& name) {
             static HeldEntry held;
             if (held.path != folder) held = HoldFolderAt(folder).value_or(HeldEntry{});
             if (auto file = HoldChild(held, ChildEntry{name}, MachineRemoval()))
                 RemoveHeldFile(std::move(*file), MachineRemoval());
         }},
        {"RemoveRowItem in a session", [](HANDLE, const std::wstring& folder, const std::wstring& name) {
             static CRemovalSession session;
             RemoveRowItem(folder + L"\\" + name, true, MachineRemoval(), session);
         }},
        {"RemoveRowItem alone", [](HANDLE, const std::wstring& folder, const std::wstring& name) {
             RemoveRowItem(folder + L"\\" + name, true);
         }},
    };
    std::vector<double> best(std::size(removals), 1e12);
    for (int round = 0; round < 3; ++round)
        for (size_t r = 0; r < std::size(removals); ++r) {
            auto [folder, names] = fresh();
            best[r] = std::min(best[r], PerFile(folder, names, [&](HANDLE root, const std::wstring& name) {
                                   removals[r].remove(root, folder, name);
                               }));
        }
    const double plain = best[0];
    std::printf("== %d files: DeleteFileW %.1f us per file\n", count, plain);
    for (size_t r = 1; r < std::size(removals); ++r) Report(removals[r].what, best[r], plain);

    // The steps that change nothing, on one set.
    auto [folder, names] = fresh();
    auto open = [](HANDLE root, const std::wstring& name) { return OpenChild(root, name, kRemovalAccess); };
    const struct {
        const char* what;
        std::function<void(HANDLE)> step;  // on the open file
    } steps[] = {
        {"open relative, close", [](HANDLE) {}},
        {"open, ReadFacts, close", [](HANDLE file) {
             EntryFacts facts;
             ReadFacts(file, facts);
         }},
        {"open, FinalPathOfHandle, close", [](HANDLE file) { FinalPathOfHandle(file); }},
        {"open, final path (NT volume), close", [](HANDLE file) {
             wchar_t buffer[1024];
             ::GetFinalPathNameByHandleW(file, buffer, 1024, VOLUME_NAME_NT);
         }},
        {"open, file name information, close", [](HANDLE file) {
             alignas(8) BYTE buffer[4096];
             IO_STATUS_BLOCK io{};
             ::NtQueryInformationFile(file, &io, buffer, sizeof(buffer), static_cast<FILE_INFORMATION_CLASS>(9));
         }},
        {"open, object name, close", [](HANDLE file) {
             alignas(8) BYTE buffer[4096];
             ULONG n = 0;
             ::NtQueryObject(file, static_cast<OBJECT_INFORMATION_CLASS>(1), buffer, sizeof(buffer), &n);
         }},
        {"open, basic object information, close", [](HANDLE file) {
             alignas(8) BYTE buffer[256];
             ULONG n = 0;
             ::NtQueryObject(file, static_cast<OBJECT_INFORMATION_CLASS>(0), buffer, sizeof(buffer), &n);
         }},
        {"open, file size, close", [](HANDLE file) {
             LARGE_INTEGER size;
             ::GetFileSizeEx(file, &size);
         }},
        {"open, volume serial, close", [](HANDLE file) { ReadVolumeSerial(file); }},
    };
    for (const auto& step : steps)
        Report(step.what, BestPerFile(folder, names, [&](HANDLE root, const std::wstring& name) {
                   OpenedEntry e = open(root, name);
                   step.step(e.handle.Get());
               }), plain);
    Report("folder listing by name", BestPerFile(folder, names, [&](HANDLE root, const std::wstring& name) {
               alignas(8) BYTE buffer[1024];
               IO_STATUS_BLOCK io{};
               UNICODE_STRING mask{static_cast<USHORT>(name.size() * 2), static_cast<USHORT>(name.size() * 2),
                                   const_cast<wchar_t*>(name.c_str())};
               ::NtQueryDirectoryFile(root, nullptr, nullptr, nullptr, &io, buffer, sizeof(buffer),
                                      static_cast<FILE_INFORMATION_CLASS>(37), TRUE, &mask, TRUE);
           }), plain);
    Report("open by full path, close", BestPerFile(folder, names, [&](HANDLE, const std::wstring& name) {
               OpenEntryAt(folder + L"\\" + name, kRemovalAccess);
           }), plain);
    Report("canonical path", BestPerFile(folder, names, [&](HANDLE, const std::wstring& name) {
               CanonicalItemPath(folder + L"\\" + name);
           }), plain);
    std::fflush(stdout);
    return 0;
}
