#include "cli/CleanReport.h"

#include <vector>

#include "clean/EntryHandle.h"
#include "cli/Output.h"
#include "win/Path.h"
#include "win/Random.h"
#include "win/Text.h"

namespace {

std::wstring TallyJson(const Tally& tally) {
    return L"{\"items\":" + std::to_wstring(tally.items) + L",\"bytes\":" + std::to_wstring(tally.bytes) + L"}";
}

std::wstring LeftItemJson(const LeftItem& item) {
    std::wstring kept;
    for (const LeftEntry& entry : item.kept) {
        if (!kept.empty()) kept += L",";
        kept += L"{\"path\":" + JsonString(entry.path) + L",\"reason\":" + JsonString(LeftReasonText(entry.reason)) +
                L"}";
    }
    return L"{\"path\":" + JsonString(item.path) + L",\"kept\":[" + kept + L"]}";
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring out = n ? std::wstring(text, n) : L"error " + std::to_wstring(error);
    ::LocalFree(text);
    while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r' || out.back() == L'.')) out.pop_back();
    return out;
}

}  // namespace

std::wstring ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &size) ? name : L"";
}

std::wstring UserName() {
    wchar_t name[257] = {};
    DWORD size = 257;
    return ::GetUserNameW(name, &size) ? name : L"";
}

void CleanRecord::Add(const std::wstring& path, ULONGLONG listedSize, bool emptiedOnly, const RowRemoval& removal) {
    switch (removal.outcome) {
    case RowOutcome::Removed:
        (emptiedOnly ? emptied : removed).Add(removal.bytesRemoved);
        return;
    case RowOutcome::Vanished:
        gone.Add(0);
        return;
    case RowOutcome::PartlyRemoved:
        partly.Add(removal.bytesRemoved);
        break;
    case RowOutcome::Left:
        left.Add(listedSize);
        break;
    }
    leftItems.push_back({path, removal.left});
}

namespace {
std::wstring JsonStringOrNull(const std::wstring& text) { return text.empty() ? L"null" : JsonString(text); }
}  // namespace

std::wstring ReportJson(const CleanRecord& s) {
    std::wstring left;
    for (const LeftItem& item : s.leftItems) left += (left.empty() ? L"" : L",") + LeftItemJson(item);
    return L"{\"started\":" + JsonString(IsoTime(s.started)) + L",\"ended\":" + JsonString(IsoTime(s.ended)) +
           L",\"machine\":" + JsonString(s.machine) + L",\"user\":" + JsonString(s.user) + L",\"mode\":" +
           JsonString(s.mode) + L",\"removal\":" + (s.permanent ? L"\"permanent\"" : L"\"recycle\"") +
           L",\"dryRun\":" + (s.dryRun ? L"true" : L"false") + L",\"rulesFile\":" +
           JsonStringOrNull(s.rulesFile) + L",\"unreadableRulesFile\":" + JsonStringOrNull(s.unreadableRulesFile) +
           L",\"found\":" + TallyJson(s.found) +
           L",\"removed\":" + TallyJson(s.removed) + L",\"emptied\":" + TallyJson(s.emptied) + L",\"partly\":" +
           TallyJson(s.partly) + L",\"left\":" + TallyJson(s.left) + L",\"gone\":" + TallyJson(s.gone) +
           L",\"leftItems\":[" + left + L"]}\n";
}

CReportFile::~CReportFile() {
    if (m_file) RemoveThroughHandle(m_file.Get());
}

std::wstring CReportFile::Open(const std::wstring& path) {
    m_path = CurrentFullPath(path);
    DWORD attributes = ::GetFileAttributesW(m_path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return m_path + L" is a folder";
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return m_path + L" is read-only";
    // Beside the report, so that the rename stays on one volume and is
    // atomic; under a name nobody can guess, and made new: never a file that
    // stood there before, nor what a link there points to.
    m_temporary = m_path + L"." + win::RandomHex(12) + L".tmp";
    m_file.Reset(::CreateFileW(m_temporary.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!m_file) return L"cannot write " + m_path + L": " + SystemErrorText(::GetLastError());
    return {};
}

std::wstring CReportFile::Commit(const std::wstring& json) {
    if (!m_file) return L"the report was not opened";
    std::string bytes = win::ToNarrow(json, CP_UTF8);
    DWORD written = 0;
    bool wrote = ::WriteFile(m_file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                 written == bytes.size() && ::FlushFileBuffers(m_file.Get()) && ReplaceByRename(m_file.Get(), m_path);
    DWORD error = ::GetLastError();
    if (wrote) {
        m_file.Reset();
        return {};
    }
    RemoveThroughHandle(m_file.Get());
    m_file.Reset();
    return L"cannot write " + m_path + L": " + SystemErrorText(error);
}
