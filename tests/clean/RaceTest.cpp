// Removal against a process that keeps swapping real folders inside the
// item with links to canary folders outside it, as an unprivileged process
// of the same machine could. Whatever the interleaving, no canary may go.
#include <gtest/gtest.h>

#include <string>

#include "clean/DeleteItem.h"
#include "clean/Guards.h"
#include "CleanTestSupport.h"
#include "support/TestSupport.h"

using namespace testing_support;

namespace {

// Exchanges the names of each pair again and again (renameat2 with
// RENAME_EXCHANGE, atomic) until the stop file exists or a minute passed.
const char kSwapper[] = R"(import ctypes, os, sys, time
libc = ctypes.CDLL(None, use_errno=True)
stop, pairs = sys.argv[1], sys.argv[2:]
deadline = time.time() + 60
open(stop + '.started', 'w').close()
while not os.path.exists(stop) and time.time() < deadline:
    for i in range(0, len(pairs), 2):
        libc.renameat2(-100, pairs[i].encode(), -100, pairs[i + 1].encode(), 2)
open(stop + '.done', 'w').close()
)";

constexpr int kCanaries = 10;

struct Swap {
    const wchar_t* real;  // a real folder of junk, relative to the item
    const wchar_t* link;  // its neighbour, a link to a canary folder
};
const Swap kSwaps[] = {{L"s0", L"l0"}, {L"d\\s1", L"d\\l1"}};

class RemovalRace : public ::testing::Test {
protected:
    void SetUp() override {
        if (!clean_test::UnderWine()) GTEST_SKIP() << "the swapping process is the host's";
        // Through env: Wine starts a host program only from its own file,
        // not through the link python3 is.
        python = L"\\\\?\\unix\\usr\\bin\\env";
        if (!Exists(L"\\\\?\\unix\\usr\\bin\\python3")) GTEST_SKIP() << "no python3 on the host to swap with";
        WriteFileBytes(work / L"swap.py", kSwapper);
        for (int c = 0; c < 2; ++c) {
            MakeFolders(Canary(c));
            for (int i = 0; i < kCanaries; ++i) WriteFileBytes(Canary(c) + L"\\canary" + std::to_wstring(i), "canary");
        }
    }

    std::wstring Canary(int c) const { return outside / (L"canary" + std::to_wstring(c)); }

    // A fresh item in the TMP folder: junk, the real folders and their links.
    std::wstring MakeItem(int run) {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        std::wstring item = std::wstring(temp) + L"brisko-race-" + std::to_wstring(run);
        for (int s = 0; s < 2; ++s) {
            std::wstring real = item + L"\\" + kSwaps[s].real;
            MakeFolders(real + L"\\inner");
            for (int i = 0; i < 5; ++i) WriteFileBytes(real + L"\\junk" + std::to_wstring(i) + L".tmp", "junk");
            WriteFileBytes(real + L"\\inner\\junk.tmp", "junk");
            EXPECT_TRUE(clean_test::MakeLink(item + L"\\" + kSwaps[s].link, Canary(s), true));
        }
        WriteFileBytes(item + L"\\top.tmp", "junk");
        return item;
    }

    // Starts the swapper on the item's pairs and waits until it runs. Wine
    // gives no handle of a host process: it tells by files.
    bool StartSwapping(const std::wstring& item, const std::wstring& stop) {
        std::wstring line = L"env python3 \"" + Unix(work / L"swap.py") + L"\" \"" + Unix(stop) + L"\"";
        for (const Swap& swap : kSwaps)
            line += L" \"" + Unix(item + L"\\" + swap.real) + L"\" \"" + Unix(item + L"\\" + swap.link) + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessW(python.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ADD_FAILURE() << "the swapper did not start: " << ::GetLastError();
            return false;
        }
        if (pi.hThread) ::CloseHandle(pi.hThread);
        if (pi.hProcess) ::CloseHandle(pi.hProcess);
        return WaitUntil([&] { return Exists(stop + L".started"); }, 20000);
    }

    void StopSwapping(const std::wstring& stop) {
        WriteFileBytes(stop, "");
        EXPECT_TRUE(WaitUntil([&] { return Exists(stop + L".done"); }, 20000));
        for (const wchar_t* suffix : {L"", L".started", L".done"}) ::DeleteFileW((stop + suffix).c_str());
    }

    void ExpectCanariesIntact(const std::string& run) {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < kCanaries; ++i)
                EXPECT_EQ(ReadFileBytes(Canary(c) + L"\\canary" + std::to_wstring(i)), "canary") << run;
    }

    // What a run left of the item: its links by the host, the rest by us.
    void Tidy(const std::wstring& item) {
        clean_test::RunHostCommand(L"rm", L"rm -rf \"" + Unix(item) + L"\"");
        WaitUntil([&] { return !Exists(item); }, 10000);
    }

    static std::wstring Unix(const std::wstring& path) { return clean_test::Widen(clean_test::UnixPathOf(path)); }

    void RunMode(const struct RaceMode& mode, int firstRun);

    std::wstring python;
    ScratchFolder work{L"race"};
    ScratchFolder outside{L"race-canaries"};
};

}  // namespace

namespace {

struct RaceMode {
    const char* name;
    bool permanent;
    bool systemFolder;  // emptied entry by entry and kept
    int runs;
};

}  // namespace

void RemovalRace::RunMode(const RaceMode& mode, int firstRun) {
    for (int i = 0; i < mode.runs; ++i) {
        int run = firstRun + i;
        std::string trace = std::string(mode.name) + ", run " + std::to_string(i);
        SCOPED_TRACE(trace);
        std::wstring item = MakeItem(run);
        std::wstring stop = work / (L"stop" + std::to_wstring(run));
        RemovalGuards guards;
        guards.protectedFolders = MachineGuards().protectedFolders;
        if (mode.systemFolder) guards.systemFolders.Add(item);
        ASSERT_TRUE(StartSwapping(item, stop));
        DeleteFoundItem(item, mode.permanent, RemovalContext{guards, SilentReport()});
        StopSwapping(stop);
        ExpectCanariesIntact(trace);
        Tidy(item);
    }
}

TEST_F(RemovalRace, SwappingFoldersForLinksNeverReachesTheCanaries) {
    const RaceMode kModes[] = {
        {"permanent", true, false, 12},
        {"permanent, system folder", true, true, 12},
        {"Recycle Bin", false, false, 12},
        {"Recycle Bin, system folder", false, true, 12},
    };
    int run = 0;
    for (const RaceMode& mode : kModes) {
        RunMode(mode, run);
        run += mode.runs;
    }
}
