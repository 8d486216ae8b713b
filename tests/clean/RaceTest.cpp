// Removal against a process of the same machine that changes the item's
// names while the clean works on them, as an unprivileged process could: it
// watches the item's folders (inotify on the host, as a real attacker would
// ReadDirectoryChangesW) and acts right after each of the program's opens.
// The attacks:
// - folders inside the item exchanged with links to canary folders;
// - the rows' folder exchanged with a link to a canary folder whose files
//   have the rows' names;
// - a link to a canary folder planted and taken away again at the name of
//   a row whose item is gone;
// each permanent and to the Recycle Bin, with a working bin and with one
// that refuses. Whatever the interleaving, no canary may go: neither for
// good nor into the Recycle Bin.
// Under Wine one loss is the platform's, not the clean's: the server removes
// a file whose removal is pending by the path it keeps for it, after a stat
// of that path, and a swap between the two takes the canary of the same
// name. Such a loss is told apart exactly: the clean marked the junk file of
// the canary's name, through a handle to that very file, and the junk is
// still there. It is counted and printed; every other loss fails.
// BRISKO_RACE_RUNS multiplies the runs (scripts/race.sh runs hundreds).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "clean/DeleteItem.h"
#include "clean/EntryHandle.h"
#include "clean/HeldEntry.h"
#include "item/Guards.h"
#include "clean/RemovalSession.h"
#include "CleanTestSupport.h"
#include "support/TestSupport.h"

using namespace testing_support;

namespace {

// Each argument is one change, done again right after every event the
// watched folders report and at least every millisecond, until the stop file
// exists or a minute passed:
//   x|A|B  exchanges the names A and B (renameat2 RENAME_EXCHANGE, atomic);
//   t|L|T  puts a link to T at L, or takes it away again;
//   X|A|B  exchanges A and B as fast as it can, without waiting.
const char kRacer[] = R"(import ctypes, os, select, sys, time
libc = ctypes.CDLL(None, use_errno=True)
stop, watched, changes = sys.argv[1], sys.argv[2].split('|'), [a.split('|') for a in sys.argv[3:]]
wait = 0 if any(c[0] == 'X' for c in changes) else 0.001
fd = libc.inotify_init1(os.O_NONBLOCK)
for folder in watched:
    libc.inotify_add_watch(fd, folder.encode(), 0x01 | 0x20 | 0x10 | 0x08 | 0x100 | 0x200)
deadline = time.time() + 60
open(stop + '.started', 'w').close()
while not os.path.exists(stop) and time.time() < deadline:
    if select.select([fd], [], [], wait)[0]:
        try:
            os.read(fd, 65536)
        except BlockingIOError:
            pass
    for change in changes:
        if change[0] in 'xX':
            libc.renameat2(-100, change[1].encode(), -100, change[2].encode(), 2)
        elif os.path.lexists(change[1]):
            os.unlink(change[1])
        else:
            try:
                os.symlink(change[2], change[1])
            except OSError:
                pass
open(stop + '.done', 'w').close()
)";

constexpr int kCanaries = 6;

enum class Attack { FolderSwap, ParentSwap, PlantAtMissing };
enum class Target { WholeItem, SystemFolder, FileRows };

struct RaceMode {
    const char* name;
    Attack attack;
    Target target;
    bool permanent;
    bool binRefuses;  // the Recycle Bin cannot take anything
    int runs;
};

int RunsOf(const RaceMode& mode) {
    const char* factor = std::getenv("BRISKO_RACE_RUNS");
    int times = factor ? std::atoi(factor) : 1;
    return mode.runs * (times > 0 ? times : 1);
}

class RemovalRace : public ::testing::Test {
protected:
    void SetUp() override {
        if (!clean_test::UnderWine()) GTEST_SKIP() << "the racing process is the host's";
        // Through env: Wine starts a host program only from its own file,
        // not through the link python3 is.
        python = L"\\\\?\\unix\\usr\\bin\\env";
        if (!Exists(L"\\\\?\\unix\\usr\\bin\\python3")) GTEST_SKIP() << "no python3 on the host to race with";
        WriteFileBytes(work / L"race.py", kRacer);
        WriteFileBytes(blockedData / L"Trash", "no trash here");
        for (int c = 0; c < 2; ++c) {
            MakeFolders(Canary(c));
            for (int i = 0; i < kCanaries; ++i) WriteFileBytes(Canary(c) + L"\\" + FileName(i), "canary");
        }
    }

    std::wstring Canary(int c) const { return outside / (L"canary" + std::to_wstring(c)); }
    // The canaries' names are the junk's: a swapped folder leads to files of the same names.
    static std::wstring FileName(int i) { return L"junk" + std::to_wstring(i) + L".tmp"; }

    static std::optional<ULONGLONG> IdOf(HANDLE entry) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(entry, &info)) return std::nullopt;
        return (ULONGLONG(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    static std::optional<ULONGLONG> IdAt(const std::wstring& path) {
        win::FileHandle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return file ? IdOf(file.Get()) : std::nullopt;
    }

    // A fresh item in the TMP folder, and the changes the racer makes to it.
    std::wstring MakeItem(int run, Attack attack, std::vector<std::wstring>& changes,
                          std::vector<std::wstring>& watched) {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        std::wstring item = std::wstring(temp) + L"brisko-race-" + std::to_wstring(run);
        const wchar_t* kReal[] = {L"s0", L"d\\s1"};
        const wchar_t* kLink[] = {L"l0", L"d\\l1"};
        for (int s = 0; s < 2; ++s) {
            std::wstring real = item + L"\\" + kReal[s];
            MakeFolders(real + L"\\inner");
            for (int i = 0; i < kCanaries; ++i) {
                WriteFileBytes(real + L"\\" + FileName(i), "junk");
                junkIds[{s, i}] = IdAt(real + L"\\" + FileName(i)).value_or(0);
            }
            WriteFileBytes(real + L"\\inner\\junk.tmp", "junk");
            if (attack != Attack::PlantAtMissing) {
                EXPECT_TRUE(clean_test::MakeLink(item + L"\\" + kLink[s], Canary(s), true));
                changes.push_back(L"x|" + Unix(real) + L"|" + Unix(item + L"\\" + kLink[s]));
            }
            watched.push_back(Unix(real));
        }
        WriteFileBytes(item + L"\\top.tmp", "junk");
        if (attack == Attack::PlantAtMissing)
            for (int s = 0; s < 2; ++s) changes.push_back(L"t|" + Unix(item + L"\\" + kReal[s]) + L"\\gone|" + Unix(Canary(s)));
        watched.push_back(Unix(item));
        for (std::wstring& change : changes)
            for (wchar_t& c : change)
                if (c == L'\\') c = L'/';
        return item;
    }

    // The rows a clean of the item holds: the item, or its files one by one.
    static std::vector<std::wstring> Rows(const std::wstring& item, Attack attack, Target target) {
        if (target != Target::FileRows) return {item};
        std::vector<std::wstring> rows;
        for (const wchar_t* folder : {L"s0", L"d\\s1"}) {
            if (attack == Attack::PlantAtMissing) {
                rows.push_back(item + L"\\" + folder + L"\\gone");
                continue;
            }
            for (int i = 0; i < kCanaries; ++i) rows.push_back(item + L"\\" + folder + L"\\" + FileName(i));
        }
        return rows;
    }

    // Starts the racer and waits until it runs. Wine gives no handle of a
    // host process: it tells by files.
    bool StartRacing(const std::wstring& stop, const std::vector<std::wstring>& watched,
                     const std::vector<std::wstring>& changes) {
        std::wstring folders;
        for (const std::wstring& folder : watched) folders += (folders.empty() ? L"" : L"|") + folder;
        std::wstring line = L"env python3 \"" + Unix(work / L"race.py") + L"\" \"" + Unix(stop) + L"\" \"" + folders + L"\"";
        for (const std::wstring& change : changes) line += L" \"" + change + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessW(python.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ADD_FAILURE() << "the racer did not start: " << ::GetLastError();
            return false;
        }
        if (pi.hThread) ::CloseHandle(pi.hThread);
        if (pi.hProcess) ::CloseHandle(pi.hProcess);
        return WaitUntil([&] { return Exists(stop + L".started"); }, 20000);
    }

    void StopRacing(const std::wstring& stop) {
        WriteFileBytes(stop, "");
        EXPECT_TRUE(WaitUntil([&] { return Exists(stop + L".done"); }, 20000));
        for (const wchar_t* suffix : {L"", L".started", L".done"}) ::DeleteFileW((stop + suffix).c_str());
    }

    // True when every canary is whole or only the platform took it (above);
    // a lost one is put back, so that each run tells its own losses.
    bool CanariesIntact(const std::string& run, const std::wstring& item) {
        bool intact = true;
        for (int c = 0; c < 2; ++c) {
            MakeFolders(Canary(c));
            for (int i = 0; i < kCanaries; ++i) {
                const std::wstring canary = Canary(c) + L"\\" + FileName(i);
                if (ReadFileBytes(canary) == "canary") continue;
                if (!Exists(canary) && PlatformTook(item, c, i)) {
                    ++platformLosses;
                } else {
                    ADD_FAILURE() << run << ": lost " << clean_test::UnixPathOf(canary)
                                  << (Exists(canary) ? " (still there, but not to be read)" : "");
                    intact = false;
                }
                WriteFileBytes(canary, "canary");
            }
        }
        return intact;
    }

    // The clean marked the junk file of canary `c`'s name `i` through a
    // handle to that file, and the file is still in one of its two places.
    bool PlatformTook(const std::wstring& item, int c, int i) const {
        const ULONGLONG junk = junkIds.at({c, i});
        if (junk == 0 || !marked.count(junk)) return false;
        const wchar_t* kPlaces[2][2] = {{L"s0", L"l0"}, {L"d\\s1", L"d\\l1"}};
        for (const wchar_t* place : kPlaces[c])
            if (IdAt(item + L"\\" + place + L"\\" + FileName(i)) == junk) return true;
        return false;
    }

    // What a run left of the item: its links by the host, the rest by us.
    void Tidy(const std::wstring& item) {
        clean_test::RunHostCommand(L"rm", L"rm -rf \"" + Unix(item) + L"\"");
        WaitUntil([&] { return !Exists(item); }, 10000);
    }

    static std::wstring Unix(const std::wstring& path) { return clean_test::Widen(clean_test::UnixPathOf(path)); }

    void RunMode(const RaceMode& mode, int firstRun);

    std::wstring python;
    std::map<std::pair<int, int>, ULONGLONG> junkIds;  // of the run's junk files, by canary and name
    std::set<ULONGLONG> marked;                        // files the clean marked for removal
    int platformLosses = 0;
    ScratchFolder work{L"race"};
    ScratchFolder outside{L"race-canaries"};
    ScratchFolder blockedData{L"race-blocked-data"};
};

}  // namespace

void RemovalRace::RunMode(const RaceMode& mode, int firstRun) {
    std::optional<clean_test::ScopedVariable> blocked;
    if (mode.binRefuses) blocked.emplace(L"XDG_DATA_HOME", Unix(blockedData.Path()));
    for (int i = 0; i < RunsOf(mode); ++i) {
        int run = firstRun + i;
        std::string trace = std::string(mode.name) + ", run " + std::to_string(i);
        SCOPED_TRACE(trace);
        std::vector<std::wstring> changes, watched;
        std::wstring item = MakeItem(run, mode.attack, changes, watched);
        std::wstring stop = work / (L"stop" + std::to_wstring(run));
        RemovalGuards guards;
        guards.protectedFolders = MachineGuards().protectedFolders;
        if (mode.target == Target::SystemFolder) guards.systemFolders.Add(item);
        clean_test::ReasonRecorder report;
        const RemovalContext removal{guards, report};
        marked.clear();
        SetRemovalWitness([this](HANDLE entry) {
            if (std::optional<ULONGLONG> id = IdOf(entry)) marked.insert(*id);
        });
        struct WitnessEnds {
            ~WitnessEnds() { SetRemovalWitness(nullptr); }
        } witnessEnds;
        ASSERT_TRUE(StartRacing(stop, watched, changes));
        CRemovalSession session;
        for (const std::wstring& row : Rows(item, mode.attack, mode.target)) {
            if (mode.permanent && mode.target == Target::FileRows) session.RemovePermanently(row, removal);
            else DeleteFoundItem(row, mode.permanent, removal);
        }
        StopRacing(stop);
        if (!CanariesIntact(trace, item))
            for (const auto& [path, bytes] : report.measured) ADD_FAILURE() << "  removed " << clean_test::UnixPathOf(path);
        Tidy(item);
    }
}

TEST_F(RemovalRace, NoChangeOfNamesDuringAcleanEverReachesTheCanaries) {
    const RaceMode kModes[] = {
        {"folders swapped, permanent", Attack::FolderSwap, Target::WholeItem, true, false, 4},
        {"folders swapped, permanent, system folder", Attack::FolderSwap, Target::SystemFolder, true, false, 4},
        {"folders swapped, Recycle Bin", Attack::FolderSwap, Target::WholeItem, false, false, 4},
        {"folders swapped, Recycle Bin, system folder", Attack::FolderSwap, Target::SystemFolder, false, false, 4},
        {"folders swapped, refusing Recycle Bin, system folder", Attack::FolderSwap, Target::SystemFolder, false, true, 4},
        {"rows' folder swapped, permanent", Attack::ParentSwap, Target::FileRows, true, false, 6},
        {"rows' folder swapped, Recycle Bin", Attack::ParentSwap, Target::FileRows, false, false, 6},
        {"rows' folder swapped, refusing Recycle Bin", Attack::ParentSwap, Target::FileRows, false, true, 4},
        {"link at a missing row, permanent", Attack::PlantAtMissing, Target::FileRows, true, false, 4},
        {"link at a missing row, Recycle Bin", Attack::PlantAtMissing, Target::FileRows, false, false, 4},
    };
    // BRISKO_RACE_MODE picks the modes whose names hold it.
    const char* only = std::getenv("BRISKO_RACE_MODE");
    int run = 0;
    for (const RaceMode& mode : kModes) {
        if (only && !std::strstr(mode.name, only)) continue;
        RunMode(mode, run);
        run += RunsOf(mode);
    }
    if (platformLosses > 0)
        std::printf("canaries the platform took at the close of a checked junk file's handle: %d\n", platformLosses);
}

// Not a test of ours: a measure of the platform under the removal. Files
// are taken through handles opened relative to a held folder, each checked
// to be one of that folder's own files, while the racer exchanges the
// folder with a link to canaries of the same names. Under Wine the server
// removes a file whose removal is pending by the path it keeps for it,
// after a stat of that path: a swap between the two takes the canary.
// Run with scripts/race.sh and --gtest_also_run_disabled_tests.
TEST_F(RemovalRace, DISABLED_PlatformRemovalThroughAHandleAlone) {
    constexpr int kFiles = 60;
    int removed = 0, stayed = 0, lost = 0;
    for (int run = 0; run < RunsOf({"", Attack::ParentSwap, Target::FileRows, true, false, 10}); ++run) {
        std::wstring item = work / (L"platform" + std::to_wstring(run));
        std::wstring real = item + L"\\real", link = item + L"\\link", canary = outside / L"platform-canary";
        MakeFolders(real);
        MakeFolders(canary);
        std::vector<ULONGLONG> ids;
        for (int i = 0; i < kFiles; ++i) {
            WriteFileBytes(real + L"\\" + FileName(i), "junk");
            WriteFileBytes(canary + L"\\" + FileName(i), "canary");
            win::FileHandle file(::CreateFileW((real + L"\\" + FileName(i)).c_str(), FILE_READ_ATTRIBUTES,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                               OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
            BY_HANDLE_FILE_INFORMATION info{};
            ASSERT_TRUE(::GetFileInformationByHandle(file.Get(), &info));
            ids.push_back((ULONGLONG(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
        }
        ASSERT_TRUE(clean_test::MakeLink(link, canary, true));
        std::optional<HeldEntry> folder = HoldFolderAt(real);
        ASSERT_TRUE(folder);
        std::wstring stop = work / (L"pstop" + std::to_wstring(run));
        std::vector<std::wstring> changes{L"X|" + Unix(real) + L"|" + Unix(link)}, watched{Unix(real), Unix(item)};
        for (std::wstring& change : changes)
            for (wchar_t& c : change)
                if (c == L'\\') c = L'/';
        ASSERT_TRUE(StartRacing(stop, watched, changes));
        for (int i = 0; i < kFiles; ++i) {
            OpenedEntry file = OpenChildFileToRemove(folder->handle.Get(), FileName(i));
            BY_HANDLE_FILE_INFORMATION info{};
            if (!file || !::GetFileInformationByHandle(file.handle.Get(), &info)) continue;
            const ULONGLONG id = (ULONGLONG(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
            if (std::find(ids.begin(), ids.end(), id) == ids.end()) continue;
            if (RemoveThroughHandle(file.handle.Get())) ++removed;
        }
        StopRacing(stop);
        for (int i = 0; i < kFiles; ++i) {
            if (ReadFileBytes(canary + L"\\" + FileName(i)) != "canary") ++lost;
            for (const std::wstring& place : {real, link})
                if (ReadFileBytes(place + L"\\" + FileName(i)) == "junk") ++stayed;
        }
        folder.reset();
        Tidy(item);
        RemoveTree(canary);
    }
    std::printf("removals through a checked handle: %d, files that stayed: %d, canaries the platform took: %d\n",
                removed, stayed, lost);
    EXPECT_EQ(lost, 0);
}
