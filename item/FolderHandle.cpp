#include "item/FolderHandle.h"

#include <winternl.h>

#include <algorithm>
#include <vector>

#include "item/ItemPath.h"
#include "win/HandleNames.h"
#include "win/Path.h"
#include "win/Text.h"

win::FileHandle OpenFolderToList(const std::wstring& canonicalPath) {
    return win::FileHandle(::CreateFileW(ApiPath(canonicalPath).c_str(),
                                         FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

std::optional<FolderAsSpelled> OpenFolderAsSpelled(const std::wstring& spelling) {
    if (!IsPlainFullPath(spelling)) return std::nullopt;
    win::FileHandle handle = OpenFolderToList(spelling);
    FILE_BASIC_INFO basic{};
    if (!handle || !::GetFileInformationByHandleEx(handle.Get(), FileBasicInfo, &basic, sizeof(basic)) ||
        (basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != FILE_ATTRIBUTE_DIRECTORY)
        return std::nullopt;
    // A junction or link on the way leads the final path elsewhere. A volume
    // mounted on the way keeps it only where the volume manager keeps that
    // very folder as the volume's name, which takes an administrator.
    std::wstring final = WithoutLongPrefix(FinalPathOfHandle(handle.Get()));
    if (final.empty() || !win::EqualNoCase(final, spelling)) return std::nullopt;
    return FolderAsSpelled{std::move(handle), std::move(final)};
}

LONG OpenEntryOfFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG disposition,
                       ULONG options, win::FileHandle& opened) {
    constexpr NTSTATUS kInvalidName = static_cast<NTSTATUS>(0xC0000033);
    opened.Reset();
    if (name.empty() || name.size() > 255 || name.find(L'\\') != std::wstring::npos) return kInvalidName;
    UNICODE_STRING counted;
    counted.Buffer = const_cast<PWSTR>(name.c_str());
    counted.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    counted.MaximumLength = counted.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &counted, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE handle = nullptr;
    NTSTATUS status = ::NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &io, nullptr,
                                     disposition == FILE_CREATE ? FILE_ATTRIBUTE_NORMAL : 0, share, disposition,
                                     options | FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT |
                                         FILE_SYNCHRONOUS_IO_NONALERT,
                                     nullptr, 0);
    if (status >= 0) opened.Reset(handle);
    return status;
}

void VisitFolderRecords(HANDLE folder, const std::function<void(const FILE_ID_BOTH_DIR_INFO&)>& visit) {
    std::vector<BYTE> buffer(64 * 1024);
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(folder, kind, buffer.data(), static_cast<DWORD>(buffer.size()))) {
        kind = FileIdBothDirectoryInfo;
        for (size_t at = 0;;) {
            const auto* record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data() + at);
            const std::wstring_view name(record->FileName, record->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") visit(*record);
            if (record->NextEntryOffset == 0) break;
            at += record->NextEntryOffset;
        }
    }
}

namespace {
FILETIME FileTimeOf(const LARGE_INTEGER& time) {
    return {static_cast<DWORD>(time.LowPart), static_cast<DWORD>(time.HighPart)};
}
}  // namespace

WIN32_FIND_DATAW FindDataOf(const FILE_ID_BOTH_DIR_INFO& record) {
    WIN32_FIND_DATAW data{};
    data.dwFileAttributes = record.FileAttributes;
    data.ftCreationTime = FileTimeOf(record.CreationTime);
    data.ftLastAccessTime = FileTimeOf(record.LastAccessTime);
    data.ftLastWriteTime = FileTimeOf(record.LastWriteTime);
    data.nFileSizeHigh = static_cast<DWORD>(record.EndOfFile.QuadPart >> 32);
    data.nFileSizeLow = static_cast<DWORD>(record.EndOfFile.QuadPart);
    // A reparse point's record holds its tag where others hold the size of their extended attributes.
    if (record.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) data.dwReserved0 = record.EaSize;
    const size_t length = std::min<size_t>(record.FileNameLength / sizeof(wchar_t), MAX_PATH - 1);
    std::copy_n(record.FileName, length, data.cFileName);
    const size_t shortLength = std::min<size_t>(record.ShortNameLength / sizeof(wchar_t), 13);
    std::copy_n(record.ShortName, shortLength, data.cAlternateFileName);
    return data;
}

bool FolderFindData(HANDLE folder, const std::wstring& name, WIN32_FIND_DATAW& data) {
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(folder, FileBasicInfo, &basic, sizeof(basic))) return false;
    data = WIN32_FIND_DATAW{};
    data.dwFileAttributes = basic.FileAttributes;
    data.ftCreationTime = FileTimeOf(basic.CreationTime);
    data.ftLastAccessTime = FileTimeOf(basic.LastAccessTime);
    data.ftLastWriteTime = FileTimeOf(basic.LastWriteTime);
    name.copy(data.cFileName, std::min<size_t>(name.size(), MAX_PATH - 1));
    return true;
}
