#pragma once
// What one clean of the command line did, as fleet tools collect it: a JSON
// document written atomically at the end (--report FILE), and the same
// summary in the Application event log.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "clean/RemovalTally.h"
#include "win/Handle.h"

struct Tally {
    size_t items = 0;
    ULONGLONG bytes = 0;
    void Add(ULONGLONG size) {
        ++items;
        bytes += size;
    }
};

// An item of the clean that stayed, whole or in part, with what of it stayed and why.
struct LeftItem {
    std::wstring path;
    std::vector<LeftEntry> kept;
};

struct CleanRecord {
    FILETIME started{}, ended{};
    std::wstring machine, user;
    std::wstring mode;       // "standard", "cookies", "offline"
    std::wstring rulesFile;  // "" for none
    std::wstring unreadableRulesFile;  // the one a policy named and the clean went on without; "" for none
    bool permanent = false;
    bool dryRun = false;
    Tally found;             // as listed, with what the folders hold in their bytes
    Tally removed, emptied;  // with the bytes that went
    Tally partly;            // folders that kept some of their files, with the bytes that went
    Tally left;              // items left whole, with their listed size
    Tally gone;              // no longer there when the clean reached them
    std::vector<LeftItem> leftItems;  // the partly removed and the left ones

    // What the removal of one listed item did.
    void Add(const std::wstring& path, ULONGLONG listedSize, bool emptiedOnly, const RowRemoval& removal);
    // True when something stayed, whole or in part.
    bool SomethingStayed() const { return left.items + partly.items > 0; }
};

// This computer's and this user's names.
std::wstring ComputerName();
std::wstring UserName();

// {"started":..., "ended":..., "machine":..., "user":..., "mode":..., "removal":"permanent"|"recycle",
//  "dryRun":..., "rulesFile":...|null, "unreadableRulesFile":...|null, "found":{"items":N,"bytes":N},
//  "removed":{...}, "emptied":{...}, "partly":{...}, "left":{...}, "gone":{...}, "leftItems":[{"path":..., "kept":[{"path":..., "reason":...}]}]}
std::wstring ReportJson(const CleanRecord& record);

// The report's file: checked and opened (as a temporary file beside it)
// before anything is removed, and renamed into place at the end, so that a
// reader never sees half a report. The temporary file goes with the object
// unless it was committed.
class CReportFile {
public:
    CReportFile() = default;
    ~CReportFile();
    CReportFile(const CReportFile&) = delete;
    CReportFile& operator=(const CReportFile&) = delete;
    // "" when the report can be written to `path`, else why not.
    std::wstring Open(const std::wstring& path);
    // Writes `json` as UTF-8 and renames it into place; "" or why it failed.
    std::wstring Commit(const std::wstring& json);

private:
    std::wstring m_path, m_temporary;
    win::FileHandle m_file;
};
