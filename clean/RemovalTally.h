#pragma once
// What the removal of one row's item did, counted from what the removal
// tells its report: removed, partly removed (a folder that kept some of its
// contents), left with a reason, or gone before the clean reached it. The
// window keeps the rows whose item stayed; both it and the command line
// add the rows up into one summary (CleanSummary).
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "clean/RemovalReport.h"

enum class RowOutcome { Removed, PartlyRemoved, Left, Vanished };

struct LeftEntry {
    std::wstring path;
    LeftReason reason;
};

struct RowRemoval {
    RowOutcome outcome = RowOutcome::Removed;
    size_t filesRemoved = 0;     // files that went, a folder's contents included
    size_t filesLeft = 0;        // files and entries that stayed
    ULONGLONG bytesRemoved = 0;  // the sizes of the files that went
    // Left and PartlyRemoved: why the item, or the first entry of it that stayed, stays.
    LeftReason reason = LeftReason::Failed;
    std::vector<LeftEntry> left;  // what stayed, each once, in the order told
    std::wstring cleaned;         // the item stays, cleaned inside: how ("cookies cleaned, 12 kept")

    // The item is still there, whole or in part.
    bool Stays() const { return outcome == RowOutcome::PartlyRemoved || outcome == RowOutcome::Left; }
};

// A removal report that counts one row at a time and tells everything on
// to `next`. A file told by Removing() is sized then, so it must still be
// there; a folder counts through the files told inside it, or through the
// measure RemovingMeasured() brings when it goes whole. An entry told once
// it went counts as gone but unsized.
class CRemovalTally : public IRemovalReport {
public:
    explicit CRemovalTally(IRemovalReport& next) : m_next(next) {}

    // Forgets the last row; what is told from now on belongs to the next one.
    void Start();
    // What the row's removal did.
    RowRemoval Finish();

    void Removing(const std::wstring& path) override;
    void RemovingMeasured(const std::wstring& path, size_t files, ULONGLONG bytes) override;
    void Left(const std::wstring& path, LeftReason reason) override;
    void Cleaned(const std::wstring& path, const std::wstring& note) override;

private:
    struct Amount {
        size_t files = 0;
        ULONGLONG bytes = 0;
    };
    void Count(const std::wstring& path, const Amount& amount);

    IRemovalReport& m_next;
    RowRemoval m_row;
    bool m_somethingWent = false;
    std::map<std::wstring, Amount> m_counted;  // told as removed, by path: undone when it stays after all
    std::set<std::wstring> m_leftPaths;         // a second pass tells the same entry again
};
