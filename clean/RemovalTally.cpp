#include "clean/RemovalTally.h"

#include "clean/ItemPath.h"
#include "win/Handle.h"
#include "win/Path.h"

namespace {

constexpr int kMaxDepth = 64;

ULONGLONG SizeOf(DWORD high, DWORD low) { return (static_cast<ULONGLONG>(high) << 32) | low; }

// The files below a folder and their bytes. Links are not entered; a tree
// that holds one never goes whole anyway.
void AddTree(const std::wstring& folder, int depth, size_t& files, ULONGLONG& bytes) {
    if (depth > kMaxDepth) return;
    WIN32_FIND_DATAW find;
    win::FindHandle search(::FindFirstFileW(ApiPath(JoinPath(folder, L"*")).c_str(), &find));
    if (!search) return;
    do {
        if (IsDotEntry(find.cFileName) || (find.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        if (find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            AddTree(JoinPath(folder, find.cFileName), depth + 1, files, bytes);
        } else {
            ++files;
            bytes += SizeOf(find.nFileSizeHigh, find.nFileSizeLow);
        }
    } while (::FindNextFileW(search.Get(), &find));
}

}  // namespace

void CRemovalTally::Start() {
    m_row = RowRemoval{};
    m_somethingWent = false;
    m_counted.clear();
    m_leftPaths.clear();
}

CRemovalTally::Counted CRemovalTally::Measure(const std::wstring& path) {
    Counted counted;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(ApiPath(path).c_str(), GetFileExInfoStandard, &data)) return counted;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        counted.files = 1;
        counted.bytes = SizeOf(data.nFileSizeHigh, data.nFileSizeLow);
    } else if (!m_permanent && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        AddTree(path, 0, counted.files, counted.bytes);
    }
    return counted;
}

void CRemovalTally::Removing(const std::wstring& path) {
    Counted counted = Measure(path);
    if (counted.files == 0 && ::GetFileAttributesW(ApiPath(path).c_str()) == INVALID_FILE_ATTRIBUTES)
        m_somethingWent = true;  // an emptied folder, told once it went
    if (counted.files > 0) {
        m_counted[path] = counted;
        m_row.filesRemoved += counted.files;
        m_row.bytesRemoved += counted.bytes;
    }
    m_next.Removing(path);
}

void CRemovalTally::Left(const std::wstring& path, LeftReason reason) {
    m_next.Left(path, reason);
    if (!m_leftPaths.insert(path).second) return;
    if (auto counted = m_counted.find(path); counted != m_counted.end()) {
        m_row.filesRemoved -= counted->second.files;
        m_row.bytesRemoved -= counted->second.bytes;
        m_counted.erase(counted);
    }
    ++m_row.filesLeft;
    m_row.left.push_back({path, reason});
}

RowRemoval CRemovalTally::Finish() {
    RowRemoval row = m_row;
    if (row.left.empty()) {
        row.outcome = RowOutcome::Removed;
        return row;
    }
    // The first reason that is not "gone": a folder whose file vanished
    // while another was held stays because of the held one.
    row.reason = row.left.front().reason;
    for (const LeftEntry& entry : row.left)
        if (entry.reason != LeftReason::Missing) {
            row.reason = entry.reason;
            break;
        }
    if (row.filesRemoved > 0 || m_somethingWent) row.outcome = RowOutcome::PartlyRemoved;
    else if (row.reason == LeftReason::Missing) row.outcome = RowOutcome::Vanished;
    else row.outcome = RowOutcome::Left;
    return row;
}
