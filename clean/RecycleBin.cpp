#include "clean/RecycleBin.h"

#include <sddl.h>
#include <shellapi.h>

#include <cctype>
#include <cstdio>
#include <optional>

#include "clean/FolderRemoval.h"
#include "item/Guards.h"
#include "item/Links.h"
#include "win/Path.h"
#include "win/Random.h"
#include "win/Text.h"
#include "win/WinePaths.h"

namespace {

constexpr int kNameAttempts = 16;

bool Stays(const RemovalContext& removal, const std::wstring& path, LeftReason reason) {
    removal.report.Left(path, reason);
    return false;
}

std::wstring OwnName(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

bool WriteAll(HANDLE file, const void* data, size_t size) {
    DWORD written = 0;
    return ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size &&
           ::FlushFileBuffers(file);
}

// True when `name` in the open folder is the entry `facts` describe.
bool HoldsEntry(HANDLE folder, const std::wstring& name, const EntryFacts& facts) {
    OpenedEntry there = OpenChild(folder, name, FILE_READ_ATTRIBUTES);
    EntryFacts found;
    return there && ReadFacts(there.handle.Get(), found) && found.fileId == facts.fileId;
}

// The held item must still be the entry of its folder that its own name
// opens, and its handle must name that place: a handle opened through a link
// names the link's target, and Wine would act on that.
bool StillInItsPlace(const HeldEntry& item, const HeldEntry& folder) {
    const std::wstring name = OwnName(item.path);
    std::wstring place = folder.final;
    if (place.empty() || place.back() != L'\\') place += L'\\';
    return SamePathText(FinalPathOfHandle(item.handle.Get()), place + name) &&
           HoldsEntry(folder.handle.Get(), name, item.facts);
}

// Takes back a name this program made in a bin folder, through its own
// handle: the platform removes that name only, whatever else names the entry.
void RemoveMadeName(HANDLE folder, const std::wstring& name) {
    OpenedEntry made = OpenChild(folder, name, DELETE | FILE_READ_ATTRIBUTES);
    if (made) RemoveThroughHandle(made.handle.Get());
}

void Discard(OpenedEntry& record) {
    if (record) RemoveThroughHandle(record.handle.Get());
    record.handle.Reset();
}

// ---- Windows: the volume's bin folder of the running user ----

class CWindowsBin : public IRecycleBin {
public:
    explicit CWindowsBin(HeldEntry bin) : m_bin(std::move(bin)) {}

    bool Take(HeldEntry item, const HeldEntry& folder, const EntryAmount& amount,
              const RemovalContext& removal) override {
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const std::wstring suffix = WindowsBinSuffix(OwnName(item.path));
            OpenedEntry record = CreateChildFile(m_bin.handle.Get(), L"$I" + suffix);
            if (!record) continue;  // the name is taken: another one
            FILETIME now{};
            ::GetSystemTimeAsFileTime(&now);
            std::vector<BYTE> bytes = WindowsBinRecord(item.path, amount.bytes, now);
            if (!WriteAll(record.handle.Get(), bytes.data(), bytes.size())) {
                Discard(record);
                return Stays(removal, item.path, LeftReason::RecycleRefused);
            }
            if (!StillInItsPlace(item, folder)) {
                Discard(record);
                return Stays(removal, item.path, LeftReason::Link);
            }
            const std::wstring moved = L"$R" + suffix;
            if (!MoveInto(item.handle.Get(), m_bin.handle.Get(), moved)) {
                Discard(record);
                return Stays(removal, item.path, LeftReason::RecycleRefused);
            }
            // Only a platform that renames by a kept path can have moved
            // anything else; it is then the racer's, and it stays in the bin.
            if (!HoldsEntry(m_bin.handle.Get(), moved, item.facts)) {
                Discard(record);
                return Stays(removal, item.path, LeftReason::Link);
            }
            removal.report.RemovingMeasured(item.path, amount.files, amount.bytes);
            return true;
        }
        return Stays(removal, item.path, LeftReason::RecycleRefused);
    }

private:
    HeldEntry m_bin;
};

// ---- Wine: the desktop trash ----

// A folder of the trash, held by its own path (no found item's canonical
// form applies to it).
std::optional<HeldEntry> HoldTrashFolder(const std::wstring& path) {
    constexpr ACCESS_MASK kFill = FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_ADD_FILE |
                                  FILE_ADD_SUBDIRECTORY | SYNCHRONIZE;
    win::FileHandle folder(::CreateFileW(path.c_str(), kFill, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!folder) return std::nullopt;
    HeldEntry held{std::move(folder), path, {}, {}};
    if (!ReadFacts(held.handle.Get(), held.facts) || !held.facts.IsFolder() || held.facts.IsReparsePoint())
        return std::nullopt;
    held.final = FinalPathOfHandle(held.handle.Get());
    return held;
}

class CDesktopTrash : public IRecycleBin {
public:
    CDesktopTrash(HeldEntry files, HeldEntry info) : m_files(std::move(files)), m_info(std::move(info)) {}

    bool Take(HeldEntry item, const HeldEntry& folder, const EntryAmount&, const RemovalContext& removal) override {
        const std::string hostPath = win::HostPathOf(ApiPath(item.path));
        if (hostPath.empty()) return Stays(removal, item.path, LeftReason::RecycleRefused);
        if (!StillInItsPlace(item, folder)) return Stays(removal, item.path, LeftReason::Link);
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const std::wstring name = TrashName(OwnName(item.path), attempt);
            OpenedEntry record = CreateChildFile(m_info.handle.Get(), name + L".trashinfo");
            if (!record) continue;
            OpenedEntry taken = OpenChild(m_files.handle.Get(), name, FILE_READ_ATTRIBUTES);
            if (taken || taken.failure != OpenFailure::Missing) {  // an entry without its record
                Discard(record);
                continue;
            }
            SYSTEMTIME now{};
            ::GetLocalTime(&now);
            const std::string text = TrashInfoRecord(hostPath, now);
            if (!WriteAll(record.handle.Get(), text.data(), text.size())) {
                Discard(record);
                return Stays(removal, item.path, LeftReason::RecycleRefused);
            }
            size_t moved = 0;
            const bool went = item.facts.IsFolder() ? TakeFolder(std::move(item), name, removal, moved)
                                                    : TakeFile(std::move(item), m_files.handle.Get(), name, removal);
            // A folder that went in part keeps its record: what went can come back.
            if (!went && moved == 0) Discard(record);
            return went;
        }
        return Stays(removal, item.path, LeftReason::RecycleRefused);
    }

private:
    // A further name in `into` first, checked to be this very file; then its
    // own name goes through its handle.
    static bool TakeFile(HeldEntry file, HANDLE into, const std::wstring& name, const RemovalContext& removal) {
        if (!LinkInto(file.handle.Get(), into, name)) return Stays(removal, file.path, LeftReason::RecycleRefused);
        if (!HoldsEntry(into, name, file.facts)) {
            RemoveMadeName(into, name);  // someone else's file, reached through a swapped folder
            return Stays(removal, file.path, LeftReason::Link);
        }
        const DWORD attributes = file.facts.attributes;
        if (!ClearReadOnlyThroughHandle(file.handle.Get(), attributes) || !RemoveThroughHandle(file.handle.Get())) {
            if (attributes & FILE_ATTRIBUTE_READONLY) RestoreAttributes(file.handle.Get(), attributes);
            RemoveMadeName(into, name);
            return Stays(removal, file.path, LeftReason::InUse);
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) RestoreAttributes(file.handle.Get(), attributes);
        LARGE_INTEGER size{};
        ::GetFileSizeEx(file.handle.Get(), &size);
        removal.report.RemovingMeasured(file.path, 1, static_cast<ULONGLONG>(size.QuadPart));
        return true;
    }

    // The folder is built again in the trash, one level at a time: each file
    // goes as above, each folder is made there and entered, and each emptied
    // folder of the item goes at the end of its level. `moved` counts the
    // files that went.
    bool TakeFolder(HeldEntry top, const std::wstring& name, const RemovalContext& outer, size_t& moved) {
        CLeftCounter counter(outer.report);
        const RemovalContext removal{outer.guards, counter, outer.bins};
        OpenedEntry built = CreateChildFolder(m_files.handle.Get(), name);
        if (!built) return Stays(removal, top.path, LeftReason::RecycleRefused);
        struct Level {
            HeldEntry folder;
            win::FileHandle built;
            std::vector<ChildEntry> entries;
            size_t next = 0;
            size_t leftBefore = 0;
        };
        std::vector<Level> stack;
        std::vector<ChildEntry> topEntries = ListChildren(top.handle.Get());
        stack.push_back(Level{std::move(top), std::move(built.handle), std::move(topEntries), 0, 0});
        bool topWent = false;
        while (!stack.empty()) {
            Level& level = stack.back();
            if (level.next == level.entries.size()) {
                const bool went = RemoveEmptiedFolder(level.folder, removal, counter.LeftSoFar() == level.leftBefore);
                if (stack.size() == 1) {
                    topWent = went;
                    if (moved == 0 && !went) RemoveThroughHandle(level.built.Get());  // nothing went into it
                }
                stack.pop_back();
                continue;
            }
            const ChildEntry& entry = level.entries[level.next++];
            std::optional<HeldEntry> child = HoldChild(level.folder, entry, removal);
            if (!child) continue;
            const WalkStep step = StepFor(*child, removal);
            if (step == WalkStep::TakeFile) {
                if (TakeFile(std::move(*child), level.built.Get(), entry.name, removal)) ++moved;
            } else if (step != WalkStep::EnterFolder) {
                continue;
            } else if (OpenedEntry inner = CreateChildFolder(level.built.Get(), entry.name)) {
                std::vector<ChildEntry> entries = ListChildren(child->handle.Get());
                stack.push_back(
                    Level{std::move(*child), std::move(inner.handle), std::move(entries), 0, counter.LeftSoFar()});
            } else {
                removal.report.Left(child->path, LeftReason::RecycleRefused);
            }
        }
        return topWent;
    }

    HeldEntry m_files;
    HeldEntry m_info;
};

// The running user's security identifier as text ("S-1-5-21-...").
std::wstring UserSid() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
    win::FileHandle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !::GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) return {};
    LPWSTR text = nullptr;
    if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return {};
    std::wstring sid = text;
    ::LocalFree(text);
    return sid;
}

// The running user's bin folder on the volume of `path`; the shell makes it
// when it is not there yet.
std::optional<HeldEntry> HoldWindowsBinFor(const std::wstring& path) {
    std::vector<wchar_t> root(path.size() + 8);
    if (!::GetVolumePathNameW(ApiPath(path).c_str(), root.data(), static_cast<DWORD>(root.size())))
        return std::nullopt;
    const std::wstring volume = WithoutLongPrefix(root.data());
    const std::wstring sid = UserSid();
    if (sid.empty()) return std::nullopt;
    const std::wstring bin = JoinPath(JoinPath(volume, L"$Recycle.Bin"), sid);
    if (std::optional<HeldEntry> held = HoldFolderAt(bin)) return held;
    SHQUERYRBINFO info{sizeof(info)};
    ::SHQueryRecycleBinW(volume.c_str(), &info);
    return HoldFolderAt(bin);
}

// The desktop trash Wine's shell uses: in the host's data folder.
std::wstring DesktopTrashFolder() {
    std::vector<wchar_t> value(32768);
    DWORD n = ::GetEnvironmentVariableW(L"XDG_DATA_HOME", value.data(), static_cast<DWORD>(value.size()));
    if (n > 0 && n < value.size() && value[0] == L'/')
        return win::PathOfHost(win::ToNarrow(std::wstring(value.data(), n), CP_UTF8) + "/Trash");
    // WINEHOMEDIR is the host's home in this program's spelling ("\??\unix\home\me").
    n = ::GetEnvironmentVariableW(L"WINEHOMEDIR", value.data(), static_cast<DWORD>(value.size()));
    if (n == 0 || n >= value.size()) return {};
    std::wstring home(value.data(), n);
    if (home.rfind(L"\\??\\", 0) == 0) home = L"\\\\?\\" + home.substr(4);
    return home + L"\\.local\\share\\Trash";
}

class CMachineBins : public IRecycleBins {
public:
    std::unique_ptr<IRecycleBin> For(const HeldEntry& folder) const override {
        if (win::UnderWine()) return DesktopTrash(DesktopTrashFolder());
        std::optional<HeldEntry> bin = HoldWindowsBinFor(folder.path);
        return bin ? WindowsRecycleBin(std::move(*bin)) : nullptr;
    }
};

}  // namespace

const IRecycleBins& MachineRecycleBins() {
    static const CMachineBins bins;
    return bins;
}

std::unique_ptr<IRecycleBin> WindowsRecycleBin(HeldEntry bin) { return std::make_unique<CWindowsBin>(std::move(bin)); }

std::unique_ptr<IRecycleBin> DesktopTrash(const std::wstring& trashFolder) {
    if (trashFolder.empty()) return nullptr;
    // The trash's two folders are made as the desktop makes them, on first use.
    ::CreateDirectoryW((trashFolder + L"\\files").c_str(), nullptr);
    ::CreateDirectoryW((trashFolder + L"\\info").c_str(), nullptr);
    std::optional<HeldEntry> files = HoldTrashFolder(trashFolder + L"\\files");
    std::optional<HeldEntry> info = HoldTrashFolder(trashFolder + L"\\info");
    if (!files || !info) return nullptr;
    return std::make_unique<CDesktopTrash>(std::move(*files), std::move(*info));
}

std::vector<BYTE> WindowsBinRecord(const std::wstring& path, ULONGLONG bytes, const FILETIME& when) {
    std::vector<BYTE> record;
    auto put = [&](ULONGLONG value, int size) {
        for (int i = 0; i < size; ++i) record.push_back(static_cast<BYTE>(value >> (8 * i)));
    };
    put(2, 8);  // the record's version
    put(bytes, 8);
    put(when.dwLowDateTime, 4);
    put(when.dwHighDateTime, 4);
    put(path.size() + 1, 4);  // characters, the closing zero included
    for (wchar_t c : path) put(static_cast<ULONGLONG>(c), 2);
    put(0, 2);
    return record;
}

std::wstring WindowsBinSuffix(const std::wstring& name) {
    const size_t dot = name.find_last_of(L'.');
    const std::wstring extension = dot == std::wstring::npos || dot == 0 ? std::wstring() : name.substr(dot);
    return win::RandomText(6, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") + extension;
}

std::string TrashInfoRecord(const std::string& hostPath, const SYSTEMTIME& when) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (unsigned char c : hostPath) {
        if ((c < 0x80 && std::isalnum(c)) || c == '/' || c == ':' || c == '-' || c == '_' || c == '.' || c == '~') {
            escaped += static_cast<char>(c);
        } else {
            escaped += '%';
            escaped += kHex[c >> 4];
            escaped += kHex[c & 15];
        }
    }
    char date[32];
    snprintf(date, sizeof(date), "%04u-%02u-%02uT%02u:%02u:%02u", when.wYear, when.wMonth, when.wDay, when.wHour,
             when.wMinute, when.wSecond);
    return "[Trash Info]\nPath=" + escaped + "\nDeletionDate=" + date + "\n";
}

std::wstring TrashName(const std::wstring& name, int attempt) {
    if (attempt == 0) return name;
    // The record names the item's place; the name in the trash only has to
    // be free. A few numbered names first, as the desktop makes them, then
    // random ones.
    if (attempt < 4) return name + L"." + std::to_wstring(attempt + 1);
    return name + L"." + win::RandomHex(4);
}
