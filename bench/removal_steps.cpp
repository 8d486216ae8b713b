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

#include "Timing.h"
#include "clean/CleanJob.h"
#include "clean/EntryHandle.h"
#include "clean/HeldEntry.h"
#include "clean/ItemPath.h"
#include "clean/Links.h"

namespace {

const std::wstring kRoot = L"C:\\brisko-bench-steps";

std::string UnixPathOf(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return {};
    char* name = unixName(path.c_str());
    if (!name) return {};
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

// Files f0.tmp ... made by the host's shell, as a browser or the system
// would leave them (Wine adds attributes of its own to the files it makes).
std::vector<std::wstring> MakeFiles(const std::wstring& folder, int count) {
    ::CreateDirectoryW(kRoot.c_str(), nullptr);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    std::string script = "sh -c \"cd '" + UnixPathOf(folder) + "' && seq -f f%.0f.tmp 0 " + std::to_string(count - 1) +
                         " | xargs sh -c 'for f; do printf junk > $f; done' x\"";
    std::wstring line(script.begin(), script.end());
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (::CreateProcessW(L"\\\\?\\unix\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                         &pi)) {
        ::WaitForSingleObject(pi.hProcess, INFINITE);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
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
    auto [plainFolder, plainNames] = fresh();
    auto start = bench::Clock::now();
    for (const std::wstring& name : plainNames) ::DeleteFileW((plainFolder + L"\\" + name).c_str());
    const double plain = bench::SecondsSince(start) * 1e6 / count;
    std::printf("== %d files: DeleteFileW %.1f us per file\n", count, plain);

    auto [folder, names] = fresh();
    auto open = [](HANDLE root, const std::wstring& name) { return OpenChild(root, name, kRemovalAccess); };
    Report("open relative, close", BestPerFile(folder, names, [&](HANDLE root, const std::wstring& name) {
               open(root, name);
           }), plain);
    Report("open, ReadFacts, close", BestPerFile(folder, names, [&](HANDLE root, const std::wstring& name) {
               OpenedEntry e = open(root, name);
               EntryFacts facts;
               ReadFacts(e.handle.Get(), facts);
           }), plain);
    Report("open, basic information, close", BestPerFile(folder, names, [&](HANDLE root, const std::wstring& name) {
               OpenedEntry e = open(root, name);
               FILE_BASIC_INFO basic{};
               ::GetFileInformationByHandleEx(e.handle.Get(), FileBasicInfo, &basic, sizeof(basic));
           }), plain);
    Report("open, FinalPathOfHandle, close", BestPerFile(folder, names, [&](HANDLE root, const std::wstring& name) {
               OpenedEntry e = open(root, name);
               FinalPathOfHandle(e.handle.Get());
           }), plain);
    Report("open, NtQueryObject name, close", BestPerFile(folder, names, [&](HANDLE root, const std::wstring& name) {
               OpenedEntry e = open(root, name);
               BYTE buffer[2048];
               ULONG used = 0;
               ::NtQueryObject(e.handle.Get(), ObjectNameInformation, buffer, sizeof(buffer), &used);
           }), plain);
    Report("open, FileNameInfo, close", BestPerFile(folder, names, [&](HANDLE root, const std::wstring& name) {
               OpenedEntry e = open(root, name);
               BYTE buffer[2048];
               ::GetFileInformationByHandleEx(e.handle.Get(), FileNameInfo, buffer, sizeof(buffer));
           }), plain);
    Report("open, volume serial, close", BestPerFile(folder, names, [&](HANDLE root, const std::wstring& name) {
               OpenedEntry e = open(root, name);
               ReadVolumeSerial(e.handle.Get());
           }), plain);
    Report("open by full path, close", BestPerFile(folder, names, [&](HANDLE, const std::wstring& name) {
               OpenEntryAt(folder + L"\\" + name, kRemovalAccess);
           }), plain);
    Report("canonical path", BestPerFile(folder, names, [&](HANDLE, const std::wstring& name) {
               CanonicalItemPath(folder + L"\\" + name);
           }), plain);
    {
        auto [f, n] = fresh();
        Report("open, remove through handle, close", PerFile(f, n, [&](HANDLE root, const std::wstring& name) {
                   OpenedEntry e = open(root, name);
                   RemoveThroughHandle(e.handle.Get());
               }), plain);
    }
    {
        auto [f, n] = fresh();
        Report("open, POSIX disposition alone, close", PerFile(f, n, [&](HANDLE root, const std::wstring& name) {
                   OpenedEntry e = open(root, name);
                   FILE_DISPOSITION_INFO_EX posix{0x3};
                   static bool told = false;
                   BOOL ok = ::SetFileInformationByHandle(e.handle.Get(), static_cast<FILE_INFO_BY_HANDLE_CLASS>(21),
                                                          &posix, sizeof(posix));
                   if (!told) std::printf("  (the POSIX disposition: %s, error %lu)\n", ok ? "taken" : "refused",
                                          ok ? 0 : ::GetLastError());
                   told = true;
               }), plain);
    }
    {
        auto [f, n] = fresh();
        Report("open, plain disposition, close", PerFile(f, n, [&](HANDLE root, const std::wstring& name) {
                   OpenedEntry e = open(root, name);
                   FILE_DISPOSITION_INFO dispose{TRUE};
                   ::SetFileInformationByHandle(e.handle.Get(), FileDispositionInfo, &dispose, sizeof(dispose));
               }), plain);
    }
    {
        auto [f, n] = fresh();
        Report("RemoveRowItem", PerFile(f, n, [&](HANDLE, const std::wstring& name) {
                   RemoveRowItem(f + L"\\" + name, true, false);
               }), plain);
    }
    {
        auto [f, n] = fresh();
        CRemovalSession session;
        Report("RemoveRowItem in a session", PerFile(f, n, [&](HANDLE, const std::wstring& name) {
                   RemoveRowItem(f + L"\\" + name, true, MachineRemoval(), session);
               }), plain);
    }
    {
        auto [f, n] = fresh();
        Report("DeleteFileW again", PerFile(f, n, [&](HANDLE, const std::wstring& name) {
                   ::DeleteFileW((f + L"\\" + name).c_str());
               }), plain);
    }
    std::fflush(stdout);
    return 0;
}
