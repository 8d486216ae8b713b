#include "clean/EntryHandle.h"

#include <winternl.h>

#include "item/FolderHandle.h"
#include "item/ItemPath.h"
#include "win/ProcessWide.h"

namespace {

constexpr NTSTATUS kSharingViolation = static_cast<NTSTATUS>(0xC0000043);
constexpr NTSTATUS kAccessDenied = static_cast<NTSTATUS>(0xC0000022);
constexpr NTSTATUS kNameNotFound = static_cast<NTSTATUS>(0xC0000034);
constexpr NTSTATUS kPathNotFound = static_cast<NTSTATUS>(0xC000003A);
constexpr NTSTATUS kDeletePending = static_cast<NTSTATUS>(0xC0000056);
constexpr NTSTATUS kCannotDelete = static_cast<NTSTATUS>(0xC0000121);
constexpr NTSTATUS kNoSuchFile = static_cast<NTSTATUS>(0xC000000F);
constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006);
constexpr FILE_INFORMATION_CLASS kFileRenameInformation = static_cast<FILE_INFORMATION_CLASS>(10);
constexpr FILE_INFORMATION_CLASS kFileLinkInformation = static_cast<FILE_INFORMATION_CLASS>(11);
constexpr FILE_INFORMATION_CLASS kFileBasicInformation = static_cast<FILE_INFORMATION_CLASS>(4);
constexpr FILE_INFORMATION_CLASS kFileStandardInformation = static_cast<FILE_INFORMATION_CLASS>(5);
constexpr FILE_INFORMATION_CLASS kFileInternalInformation = static_cast<FILE_INFORMATION_CLASS>(6);
constexpr FILE_INFORMATION_CLASS kFileAttributeTagInformation = static_cast<FILE_INFORMATION_CLASS>(35);
constexpr FILE_INFORMATION_CLASS kFileDispositionInformationEx = static_cast<FILE_INFORMATION_CLASS>(64);
constexpr NTSTATUS kNotImplemented = static_cast<NTSTATUS>(0xC0000002);
constexpr NTSTATUS kInvalidInfoClass = static_cast<NTSTATUS>(0xC0000003);
constexpr DWORD kDispositionDelete = 0x1;
constexpr DWORD kDispositionPosix = 0x2;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

OpenFailure FailureOf(NTSTATUS status) {
    switch (status) {
    case kSharingViolation:
        return OpenFailure::InUse;
    case kAccessDenied:
    case kCannotDelete:
        return OpenFailure::AccessDenied;
    case kNameNotFound:
    case kPathNotFound:
    case kDeletePending:
    case kNoSuchFile:
    case kNoMoreFiles:
        return OpenFailure::Missing;
    default:
        return OpenFailure::Other;
    }
}

OpenFailure FailureOfLastError() {
    switch (::GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return OpenFailure::InUse;
    case ERROR_ACCESS_DENIED:
        return OpenFailure::AccessDenied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return OpenFailure::Missing;
    default:
        return OpenFailure::Other;
    }
}

UNICODE_STRING CountedName(const std::wstring& name) {
    UNICODE_STRING counted;
    counted.Buffer = const_cast<PWSTR>(name.c_str());
    counted.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    counted.MaximumLength = counted.Length;
    return counted;
}

}  // namespace

OpenedEntry OpenEntryAt(const std::wstring& canonicalPath, ACCESS_MASK access) {
    OpenedEntry opened;
    opened.handle.Reset(::CreateFileW(ApiPath(canonicalPath).c_str(), access, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr));
    if (!opened) opened.failure = FailureOfLastError();
    return opened;
}

namespace {

// The entry `name` of the open folder, relative to its handle: opened
// (FILE_OPEN) or made new (FILE_CREATE), never through a link of its own.
OpenedEntry ChildRequest(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG disposition,
                         ULONG options) {
    OpenedEntry opened;
    NTSTATUS status = OpenEntryOfFolder(folder, name, access, kShareAll, disposition, options, opened.handle);
    if (status < 0) opened.failure = FailureOf(status);
    return opened;
}

OpenedEntry OpenChildWith(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG options) {
    return ChildRequest(folder, name, access, FILE_OPEN, options);
}

}  // namespace

OpenedEntry OpenChild(HANDLE folder, const std::wstring& name, ACCESS_MASK access) {
    return OpenChildWith(folder, name, access, 0);
}

OpenedEntry CreateChildFile(HANDLE folder, const std::wstring& name) {
    return ChildRequest(folder, name, GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, FILE_CREATE,
                        FILE_NON_DIRECTORY_FILE);
}

OpenedEntry CreateChildFolder(HANDLE folder, const std::wstring& name) {
    return ChildRequest(folder, name, kRemovalAccess | FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY, FILE_CREATE,
                        FILE_DIRECTORY_FILE);
}

OpenedEntry OpenChildFileToRemove(HANDLE folder, const std::wstring& name) {
    return OpenChildWith(folder, name, DELETE, FILE_NON_DIRECTORY_FILE);
}

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK, PVOID, ULONG,
                                               FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING, BOOLEAN);

namespace {

constexpr FILE_INFORMATION_CLASS kFileIdBothDirectoryInformation = static_cast<FILE_INFORMATION_CLASS>(37);
constexpr ACCESS_MASK kStepAccess = FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE;

// What the open folder records under `name`, asked of the folder itself.
// Each folder handle is asked once: Windows keeps the first name asked.
struct FolderRecord {
    NTSTATUS status = 0;
    DWORD attributes = 0;
    ULONGLONG fileId = 0;
};
FolderRecord RecordOf(HANDLE folder, const std::wstring& name) {
    alignas(8) BYTE buffer[sizeof(FILE_ID_BOTH_DIR_INFO) + 256 * sizeof(wchar_t)];
    UNICODE_STRING mask = CountedName(name);
    IO_STATUS_BLOCK io{};
    FolderRecord record;
    record.status = NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &io, buffer, sizeof(buffer),
                                         kFileIdBothDirectoryInformation, TRUE, &mask, TRUE);
    if (record.status < 0) return record;
    const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer);
    record.attributes = entry->FileAttributes;
    record.fileId = static_cast<ULONGLONG>(entry->FileId.QuadPart);
    return record;
}

ULONGLONG FileIdOf(HANDLE entry) {
    IO_STATUS_BLOCK io{};
    LARGE_INTEGER id{};
    return ::NtQueryInformationFile(entry, &io, &id, sizeof(id), kFileInternalInformation) >= 0
               ? static_cast<ULONGLONG>(id.QuadPart)
               : 0;
}

OpenedEntry Failed(OpenFailure failure) {
    OpenedEntry failed;
    failed.failure = failure;
    return failed;
}

// The root of a canonical path ("C:\", "\\server\share") and its steps.
bool SplitAtRoot(const std::wstring& path, std::wstring& root, std::vector<std::wstring>& steps) {
    size_t start = 0;
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
        start = 3;
    } else if (path.rfind(L"\\\\", 0) == 0) {
        size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos) return false;
        start = path.find(L'\\', server + 1);
        if (start == std::wstring::npos) start = path.size();
        else ++start;
    } else {
        return false;
    }
    root = path.substr(0, start);
    for (size_t at = start; at < path.size();) {
        size_t next = path.find(L'\\', at);
        if (next == std::wstring::npos) next = path.size();
        if (next > at) steps.push_back(path.substr(at, next - at));
        at = next + 1;
    }
    return true;
}

}  // namespace

OpenedEntry OpenEntryFromRoot(const std::wstring& canonicalPath, ACCESS_MASK access) {
    std::wstring root;
    std::vector<std::wstring> steps;
    if (!SplitAtRoot(canonicalPath, root, steps)) return Failed(OpenFailure::Other);
    if (steps.empty()) return OpenEntryAt(root, access);
    OpenedEntry folder = OpenEntryAt(root, kStepAccess);
    for (size_t i = 0; folder && i < steps.size(); ++i) {
        const bool last = i + 1 == steps.size();
        const FolderRecord record = RecordOf(folder.handle.Get(), steps[i]);
        if (record.status < 0) return Failed(FailureOf(record.status));
        // Wine records a link to a folder as a reparse point; a link to a
        // file it records with the file's own identity, and the platform
        // removes, renames or links such a last step's name, never its file.
        if (record.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Failed(OpenFailure::Link);
        if (!last && !(record.attributes & FILE_ATTRIBUTE_DIRECTORY)) return Failed(OpenFailure::Missing);
        OpenedEntry next = OpenChild(folder.handle.Get(), steps[i], last ? access : kStepAccess);
        if (!next) return next;
        if (record.fileId != 0 && FileIdOf(next.handle.Get()) != record.fileId) return Failed(OpenFailure::Link);
        folder = std::move(next);
    }
    return folder;
}

bool ReadFacts(HANDLE entry, EntryFacts& facts) {
    IO_STATUS_BLOCK io{};
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    LARGE_INTEGER id{};
    if (::NtQueryInformationFile(entry, &io, &basic, sizeof(basic), kFileBasicInformation) < 0 ||
        ::NtQueryInformationFile(entry, &io, &standard, sizeof(standard), kFileStandardInformation) < 0 ||
        ::NtQueryInformationFile(entry, &io, &id, sizeof(id), kFileInternalInformation) < 0)
        return false;
    facts.attributes = basic.FileAttributes;
    facts.links = standard.NumberOfLinks;
    facts.fileId = static_cast<ULONGLONG>(id.QuadPart);
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (::NtQueryInformationFile(entry, &io, &tag, sizeof(tag), kFileAttributeTagInformation) >= 0 &&
        (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        facts.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        facts.reparseTag = tag.ReparseTag;
    }
    return true;
}

DWORD ReadVolumeSerial(HANDLE entry) {
    BY_HANDLE_FILE_INFORMATION info;
    return ::GetFileInformationByHandle(entry, &info) ? info.dwVolumeSerialNumber : 0;
}

std::vector<ChildEntry> ListChildren(HANDLE folder) {
    std::vector<ChildEntry> children;
    VisitChildren(folder, [&](const ChildEntry& child) { children.push_back(child); });
    return children;
}

void VisitChildren(HANDLE folder, const std::function<void(const ChildEntry&)>& visit) {
    VisitFolderRecords(folder, [&](const FILE_ID_BOTH_DIR_INFO& entry) {
        visit({std::wstring(entry.FileName, entry.FileNameLength / sizeof(wchar_t)), entry.FileAttributes,
               static_cast<ULONGLONG>(entry.FileId.QuadPart), static_cast<ULONGLONG>(entry.EndOfFile.QuadPart)});
    });
}

namespace {
struct HandleRemoval {
    // Whether this system was found not to know the POSIX form of removal.
    bool posixUnknown = false;
    RemovalWitness witness;
};
}  // namespace

void SetRemovalWitness(RemovalWitness witness) {
    win::ProcessWide<HandleRemoval>().With([&](HandleRemoval& removal) { removal.witness = std::move(witness); });
}

bool RemoveThroughHandle(HANDLE entry) {
    // The POSIX form takes the name away at once, even while others hold
    // the file with sharing. A system that does not know the form at all
    // (Wine) is asked once: each refusal costs as much as a removal.
    win::Guarded<HandleRemoval>& removal = win::ProcessWide<HandleRemoval>();
    const bool posixUnknown = removal.With([entry](const HandleRemoval& known) {
        if (known.witness) known.witness(entry);
        return known.posixUnknown;
    });
    if (!posixUnknown) {
        FILE_DISPOSITION_INFO_EX posix{kDispositionDelete | kDispositionPosix};
        IO_STATUS_BLOCK io{};
        NTSTATUS status = ::NtSetInformationFile(entry, &io, &posix, sizeof(posix), kFileDispositionInformationEx);
        if (status >= 0) return true;
        if (status == kInvalidInfoClass || status == kNotImplemented)
            removal.With([](HandleRemoval& known) { known.posixUnknown = true; });
    }
    FILE_DISPOSITION_INFO dispose{TRUE};
    return ::SetFileInformationByHandle(entry, FileDispositionInfo, &dispose, sizeof(dispose)) != FALSE;
}

bool ClearReadOnlyThroughHandle(HANDLE entry, DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_READONLY)) return true;
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileInformationByHandle(entry, FileBasicInfo, &basic, sizeof(basic)) != FALSE;
}

void RestoreAttributes(HANDLE entry, DWORD attributes) {
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    ::SetFileInformationByHandle(entry, FileBasicInfo, &basic, sizeof(basic));
}

namespace {

// A rename and a further name take the same request, told apart by its class.
bool NameRequest(HANDLE entry, HANDLE root, const std::wstring& name, FILE_INFORMATION_CLASS request,
                 bool replace = false) {
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = replace ? TRUE : FALSE;
    rename->RootDirectory = root;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    name.copy(rename->FileName, name.size());
    IO_STATUS_BLOCK io{};
    return ::NtSetInformationFile(entry, &io, rename, static_cast<ULONG>(buffer.size()), request) >= 0;
}

bool Rename(HANDLE entry, HANDLE root, const std::wstring& name) {
    return NameRequest(entry, root, name, kFileRenameInformation);
}

bool IsPlainName(const std::wstring& name) { return !name.empty() && name.find(L'\\') == std::wstring::npos; }

}  // namespace

bool ReplaceByRename(HANDLE entry, const std::wstring& fullPath) {
    return !fullPath.empty() && NameRequest(entry, nullptr, L"\\??\\" + fullPath, kFileRenameInformation, true);
}

bool LinkInto(HANDLE entry, HANDLE folder, const std::wstring& name) {
    return IsPlainName(name) && NameRequest(entry, folder, name, kFileLinkInformation);
}

bool MoveInto(HANDLE entry, HANDLE folder, const std::wstring& name) {
    return IsPlainName(name) && Rename(entry, folder, name);
}

bool RenameWithinFolder(HANDLE entry, HANDLE folder, const std::wstring& folderPath, const std::wstring& newName) {
    if (newName.empty() || newName.find(L'\\') != std::wstring::npos) return false;
    if (Rename(entry, folder, newName)) return true;
    std::wstring full = folderPath;
    if (full.empty() || full.back() != L'\\') full += L'\\';
    return !folderPath.empty() && Rename(entry, nullptr, L"\\??\\" + full + newName);
}
