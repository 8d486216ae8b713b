#include "clean/RemovalTally.h"

#include "item/ItemPath.h"
#include "win/Path.h"

namespace {

ULONGLONG SizeOf(DWORD high, DWORD low) { return (static_cast<ULONGLONG>(high) << 32) | low; }

}  // namespace

void CRemovalTally::Start() {
    m_row = RowRemoval{};
    m_somethingWent = false;
    m_counted.clear();
    m_leftPaths.clear();
}

void CRemovalTally::Removing(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(ApiPath(path).c_str(), GetFileExInfoStandard, &data)) {
        m_somethingWent = true;  // an emptied folder, told once it went
    } else if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Count(path, {1, SizeOf(data.nFileSizeHigh, data.nFileSizeLow)});
    }
    m_next.Removing(path);
}

void CRemovalTally::RemovingMeasured(const std::wstring& path, size_t files, ULONGLONG bytes) {
    Count(path, {files, bytes});
    if (files == 0) m_somethingWent = true;
    m_next.RemovingMeasured(path, files, bytes);
}

void CRemovalTally::Count(const std::wstring& path, const Amount& amount) {
    if (amount.files == 0) return;
    m_counted[path] = amount;
    m_row.filesRemoved += amount.files;
    m_row.bytesRemoved += amount.bytes;
}

void CRemovalTally::Cleaned(const std::wstring& path, const std::wstring& note) {
    m_row.cleaned = note;
    m_next.Cleaned(path, note);
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
