// A rules file in the community's form of 4,000 entries (about 14,000 file
// keys and 3,600 registry keys), generated here, on a seeded machine where
// every entry applies: reading and checking the whole file, and a scan with
// every entry on against walking the same folders once. Also when the first
// row reaches the list, against the whole scan.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchMachine.h"
#include "Timing.h"
#include "catalog/BriskoDoc.h"
#include "scan/Listing.h"
#include "scan/RulesScan.h"

namespace {
const std::wstring kTree = L"C:\\brisko-rules-bench";
const std::wstring kVendorKey = L"Software\\Brisko Rules Bench";
constexpr int kEntries = 4000;

std::wstring Vendor(int i) { return L"Vendor " + std::to_wstring(i); }

// Counts what reaches the list, and when the first row came.
struct CountingSink : IFoundItemSink {
    size_t count = 0;
    bench::Clock::time_point first{};
    void AddFoundItem(std::wstring, const WIN32_FIND_DATAW&) override {
        if (count++ == 0) first = bench::Clock::now();
    }
};

void MakeFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
}

void Touch(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

// Entry i: a cache taken whole, logs file by file through a subfolder, the
// temporary files of its roaming folder, every other one its data files,
// and nine in ten a registry key. Every tenth entry's logs keep one file.
std::wstring RulesText(size_t& fileKeys, size_t& registryKeys) {
    std::wstring text = L"; generated for the benchmark\r\n";
    fileKeys = registryKeys = 0;
    for (int i = 0; i < kEntries; ++i) {
        const std::wstring vendor = Vendor(i);
        text += L"[App " + std::to_wstring(i) + L" *]\r\nLangSecRef=" + std::to_wstring(3021 + i % 5) +
                L"\r\nDetectFile=%LocalAppData%\\" + vendor + L"\r\nFileKey1=%LocalAppData%\\" + vendor +
                L"\\Cache|*.*|REMOVESELF\r\nFileKey2=%LocalAppData%\\" + vendor +
                L"\\Logs|*.log;*.txt|RECURSE\r\nFileKey3=%AppData%\\" + vendor + L"|*.tmp\r\n";
        fileKeys += 3;
        if (i % 2 == 0) {
            text += L"FileKey4=%AppData%\\" + vendor + L"\\Data|*.dat\r\n";
            ++fileKeys;
        }
        if (i % 10 == 0) text += L"ExcludeKey1=FILE|%LocalAppData%\\" + vendor + L"\\Logs|keep.log\r\n";
        if (i % 10 != 9) {
            text += L"RegKey1=HKCU\\" + kVendorKey + L"\\" + vendor + L"\\MRU\r\n";
            ++registryKeys;
        }
        text += L"\r\n";
    }
    return text;
}

void Seed() {
    for (int i = 0; i < kEntries; ++i) {
        const std::wstring local = kTree + L"\\Local\\" + Vendor(i), roaming = kTree + L"\\Roaming\\" + Vendor(i);
        MakeFolders(local + L"\\Cache");
        MakeFolders(local + L"\\Logs\\old");
        MakeFolders(roaming + L"\\Data");
        Touch(local + L"\\Cache\\index");
        Touch(local + L"\\Cache\\data_0");
        Touch(local + L"\\Logs\\keep.log");
        Touch(local + L"\\Logs\\today.txt");
        Touch(local + L"\\Logs\\old\\1.log");
        Touch(roaming + L"\\session.tmp");
        Touch(roaming + L"\\Data\\store.dat");
        if (i % 10 != 9) {
            HKEY key = nullptr;
            std::wstring path = kVendorKey + L"\\" + Vendor(i) + L"\\MRU";
            if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
                ERROR_SUCCESS)
                ::RegCloseKey(key);
        }
    }
    MakeFolders(kTree + L"\\Windows");
}

// The baselines: each folder the keys name listed once, with its subfolders
// where a key takes them, as a plain search lists them; with `opened`, each
// file found by a key that lists files one by one is also opened exclusively
// once, as the standard scan's benchmarks count the test of a file in use.
size_t WalkOnce(const std::wstring& folder, bool below, bool opened) {
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    size_t files = 0;
    do {
        if (entry.cFileName[0] == L'.') continue;
        const std::wstring path = folder + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files += below ? WalkOnce(path, true, opened) : 0;
            continue;
        }
        ++files;
        if (!opened) continue;
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return files;
}

size_t WalkTheFoldersOnce(bool opened) {
    size_t files = 0;
    for (int i = 0; i < kEntries; ++i) {
        const std::wstring local = kTree + L"\\Local\\" + Vendor(i), roaming = kTree + L"\\Roaming\\" + Vendor(i);
        // The caches go whole: their files are listed, never opened.
        files += WalkOnce(local + L"\\Cache", true, false) + WalkOnce(local + L"\\Logs", true, opened) +
                 WalkOnce(roaming, false, opened);
        if (i % 2 == 0) files += WalkOnce(roaming + L"\\Data", false, opened);
    }
    return files;
}

void WriteUtf8(const std::wstring& path, const std::wstring& text) {
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(n, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace

int main() {
    auto seeding = bench::Clock::now();
    Seed();
    std::printf("seeded %d entries' folders and keys in %.1f s\n", kEntries, bench::SecondsSince(seeding));
    const std::wstring path = kTree + L"\\rules.ini";
    size_t fileKeys = 0, registryKeys = 0;
    WriteUtf8(path, RulesText(fileKeys, registryKeys));

    RulesFile rules;
    double parse = bench::BestOf(5, [&] { rules = ReadRulesFile(path); });
    ChooseAllRuleEntries(rules);
    std::printf("rules file: %zu entries, %zu file keys, %zu registry keys, %zu lines told: read and checked in "
                "%.3f s (target < 0.5 s)\n",
                rules.entries.size(), fileKeys, registryKeys, rules.problems.size(), parse);

    bench::BenchMachine machine(kTree, {{CSIDL_APPDATA, L"Roaming"}, {CSIDL_LOCAL_APPDATA, L"Local"}});
    CBriskoDoc doc(machine);
    size_t walked = 0, found = 0;
    double baseline = bench::BestOf(3, [&] { walked = WalkTheFoldersOnce(false); });
    double withOpens = bench::BestOf(3, [&] { WalkTheFoldersOnce(true); });
    double firstRow = 0;
    double scan = bench::BestOf(3, [&] {
        CountingSink sink;
        CListingFilter listed(sink);
        auto start = bench::Clock::now();
        RunRulesScan(doc, rules, listed);
        found = sink.count;
        firstRow = std::chrono::duration<double>(sink.first - start).count();
    });
    std::printf("walking the same folders once: %.3f s (%zu files); with each file a key lists opened exclusively "
                "once: %.3f s\n",
                baseline, walked, withOpens);
    std::printf("scan with all %zu entries on: %.3f s (%zu rows, the first after %.3f s) | ratio %.2f to the walk "
                "(target < 2), %.2f to the walk with opens\n",
                rules.entries.size(), scan, found, firstRow, scan / baseline, scan / withOpens);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey.c_str());
    std::fflush(stdout);
    return 0;
}
