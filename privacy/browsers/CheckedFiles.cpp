#include "privacy/browsers/CheckedFiles.h"

#include <sqlite3.h>
#include <windows.h>

#include "clean/EntryHandle.h"
#include "item/Guards.h"
#include "item/Links.h"
#include "win/Text.h"

namespace browsers {

namespace {

constexpr const wchar_t* kCompanions[] = {L"", L"-wal", L"-journal", L"-shm"};

// True when the open file is the entry at `path` itself and has that one name.
bool IsPlainOpenFile(HANDLE file, const std::wstring& path) {
    EntryFacts facts;
    if (!ReadFacts(file, facts) || facts.links != 1 || facts.IsReparsePoint()) return false;
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    std::wstring final = FinalPathOfHandle(file);
    return item && !final.empty() && SamePathText(final, item->path);
}

// A missing file is plain: SQLite makes it new, and the opened file is checked then.
bool IsPlainFileAt(const std::wstring& path) {
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    if (!item) return false;
    if (!item->exists) return true;
    if (IsLinkOrBehindLink(*item)) return false;
    OpenedEntry opened = OpenEntryAt(item->path, FILE_READ_ATTRIBUTES | SYNCHRONIZE);
    EntryFacts facts;
    return opened && ReadFacts(opened.handle.Get(), facts) && facts.links == 1 && !facts.IsReparsePoint();
}

// The checked file layer: the platform's own with another open, which keeps
// the platform's layer beside it (its other calls read the copied data).
struct CheckedVfs {
    sqlite3_vfs vfs;  // first: SQLite hands back a pointer to it
    sqlite3_vfs* platform;
};

int CheckedOpen(sqlite3_vfs* checkedVfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    sqlite3_vfs* platform = reinterpret_cast<CheckedVfs*>(checkedVfs)->platform;
    const bool checked = name && (flags & (SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_WAL)) != 0;
    std::wstring path;
    if (checked) {
        path = win::ToWide(name, CP_UTF8);
        for (wchar_t& c : path)
            if (c == L'/') c = L'\\';
        if (!IsPlainFileAt(path)) return SQLITE_AUTH;
    }
    int result = platform->xOpen(platform, name, file, flags, outFlags);
    if (result != SQLITE_OK || !checked) return result;
    // What SQLite will write is the file this handle holds: it must be the plain one.
    HANDLE handle = nullptr;
    if (file->pMethods->xFileControl(file, SQLITE_FCNTL_WIN32_GET_HANDLE, &handle) == SQLITE_OK && handle &&
        IsPlainOpenFile(handle, path))
        return SQLITE_OK;
    file->pMethods->xClose(file);
    file->pMethods = nullptr;
    return SQLITE_AUTH;
}

sqlite3_vfs* RegisterCheckedVfs() {
    static CheckedVfs checked = [] {
        sqlite3_vfs* platform = sqlite3_vfs_find(nullptr);
        CheckedVfs made{*platform, platform};
        made.vfs.zName = "brisko-checked";
        made.vfs.pNext = nullptr;
        made.vfs.xOpen = &CheckedOpen;
        return made;
    }();
    static const int registered = sqlite3_vfs_register(&checked.vfs, 0);
    (void)registered;
    return &checked.vfs;
}

}  // namespace

std::optional<std::wstring> UnsafeDatabaseFile(const std::wstring& database) {
    for (const wchar_t* companion : kCompanions) {
        std::wstring path = database + companion;
        if (!IsPlainFileAt(path)) return path;
    }
    return std::nullopt;
}

const char* CheckedVfsName() { return RegisterCheckedVfs()->zName; }

}  // namespace browsers
