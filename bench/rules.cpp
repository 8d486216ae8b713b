// Reading a rules file of 5,000 entries against reading its bytes alone,
// and a Standard scan with that file against the same scan without it, on a
// seeded machine where few of its entries apply.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "BenchMachine.h"
#include "Timing.h"
#include "catalog/BriskoDoc.h"
#include "scan/Modes.h"
#include "scan/RulesFile.h"

namespace {
const std::wstring kTree = L"C:\\brisko-rules-bench";
constexpr int kEntries = 5000;
constexpr int kApplyEvery = 500;  // so 10 entries apply
constexpr int kCatalogueFiles = 2000;
constexpr int kFilesPerRule = 200;

struct CountingSink : IFoundItemSink {
    size_t count = 0;
    void AddFoundItem(std::wstring, const WIN32_FIND_DATAW&) override { ++count; }
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

std::wstring RulesText() {
    std::wstring text = L"; generated for the benchmark\r\n";
    for (int i = 0; i < kEntries; ++i) {
        std::wstring vendor = L"Vendor " + std::to_wstring(i);
        text += L"[App " + std::to_wstring(i) + L" *]\r\nSection=Applications\r\nDetectFile=%LocalAppData%\\" + vendor +
                L"\r\nDefault=True\r\nFileKey1=%LocalAppData%\\" + vendor +
                L"\\Cache|*.*|REMOVESELF\r\nFileKey2=%AppData%\\" + vendor +
                L"\\logs|*.log;*.txt|RECURSE\r\nExcludeKey1=FILE|%AppData%\\" + vendor +
                L"\\logs|keep.log\r\nRegKey1=HKCU\\Software\\" + vendor + L"\\MRU\r\n\r\n";
    }
    return text;
}

// Catalogue matches in the Windows folder, and the folders of the entries that apply.
void Seed() {
    MakeFolders(kTree + L"\\Windows");
    for (int i = 0; i < kCatalogueFiles; ++i) Touch(kTree + L"\\Windows\\f" + std::to_wstring(i) + L".log");
    for (int i = 0; i < kEntries; i += kApplyEvery) {
        std::wstring vendor = L"Vendor " + std::to_wstring(i);
        MakeFolders(kTree + L"\\Local\\" + vendor + L"\\Cache");
        MakeFolders(kTree + L"\\Roaming\\" + vendor + L"\\logs\\old");
        for (int f = 0; f < kFilesPerRule; ++f)
            Touch(kTree + L"\\Roaming\\" + vendor + (f % 2 ? L"\\logs\\old\\" : L"\\logs\\") + std::to_wstring(f) +
                  L".log");
    }
}

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

}  // namespace

int main() {
    Seed();
    const std::wstring path = kTree + L"\\rules.ini";
    std::string bytes = "\xEF\xBB\xBF";
    std::wstring text = RulesText();
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(n, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
    bytes += utf8;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);

    RulesFile rules;
    double raw = bench::BestOf(5, [&] { ReadBytes(path); });
    double parse = bench::BestOf(5, [&] { rules = ReadRulesFile(path); });
    std::printf(
        "rules file, %d entries, %zu KB: read and parsed %8.3f s (%zu entries) | bytes alone %8.3f s | ratio %.1f\n",
        kEntries, bytes.size() / 1024, parse, rules.entries.size(), raw, parse / raw);

    bench::BenchMachine machine(kTree, {{CSIDL_APPDATA, L"Roaming"}, {CSIDL_LOCAL_APPDATA, L"Local"}});
    CBriskoDoc doc(machine);
    size_t plainCount = 0, withCount = 0;
    double plain = bench::BestOf(3, [&] {
        CountingSink sink;
        RunModeScan(doc, MODE_STANDARD, sink);
        plainCount = sink.count;
    });
    double with = bench::BestOf(3, [&] {
        CountingSink sink;
        RunModeScan(doc, MODE_STANDARD, sink, {}, &rules);
        withCount = sink.count;
    });
    std::printf("standard scan with the rules file %8.3f s (%zu items) | without %8.3f s (%zu items) | ratio %.2f\n",
                with, withCount, plain, plainCount, with / plain);
    std::fflush(stdout);
    return 0;
}
