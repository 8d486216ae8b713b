// The sorts of the result list on a listing of a million rows (or the
// sizes given) made in memory, with the paths, sizes, dates and types of a
// Temp folder that a faulty updater filled: no files needed, so that the
// figure does not wait for the file system. Each column from another
// column's order, ascending and descending, against a plain std::sort of the
// same number of integers as the baseline.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Timing.h"
#include "scan/FoundItemOrder.h"
#include "scan/FoundItems.h"

namespace {

FoundItems MakeListing(int count) {
    const wchar_t* folders[] = {L"Debug\\UserMode", L"Debug\\WIA", L"LiveKernelReports", L"ModemLogs",
                                L"PLA\\Reports",    L"Log",        L"System32\\dtclog", L"System32\\logfiles",
                                L"Temp",            L"Temp\\Updater", L"Pchealth\\ErrorRep"};
    std::mt19937 random(17);
    FoundItems items;
    for (int i = 0; i < count; ++i) {
        FoundItem item;
        item.path = std::wstring(L"C:\\Windows\\") + folders[random() % std::size(folders)] + L"\\f" +
                    std::to_wstring(random() % 100000000) + (i % 3 ? L".tmp" : L".log");
        item.size = random() % 5000000;
        ULONGLONG time = 130000000000000000ull + (static_cast<ULONGLONG>(random()) << 24);
        item.modified = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
        item.tag = random() % 3;
        item.folder = random() % 50 == 0;
        items.Add(std::move(item));
    }
    return items;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {1000000};
    for (int count : counts) {
        FoundItems items = MakeListing(count);
        std::vector<unsigned> numbers(items.Count());
        std::mt19937 random(3);
        for (unsigned& n : numbers) n = random();
        double baseline = bench::BestOf(1, [&] { std::sort(numbers.begin(), numbers.end()); });
        std::printf("%zu rows; std::sort of as many integers %.3f s\n", items.Count(), baseline);
        const std::vector<std::uint32_t> ranks = {2, 0, 1};
        const char* names[] = {"File Name", "Type", "Size", "Date Modified"};
        for (int column : {1, 0, 2, 3, 0}) {
            double up = bench::BestOf(1, [&] { SortFoundItems(items, column, true, ranks); });
            double down = bench::BestOf(1, [&] { SortFoundItems(items, column, false, ranks); });
            std::printf("Sort by %s: %.3f s ascending (ratio %.1f), %.3f s descending\n", names[column], up,
                        up / baseline, down);
        }
        std::fflush(stdout);
    }
    return 0;
}
