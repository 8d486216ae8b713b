#pragma once
// A clean: the rows the user keeps selected, removed from the last to the
// first, each read only when the clean reaches it. The window reads its rows
// from the list and reports through its own messages; the command line works
// through a list of its own. Both share this loop and its removals.
#include <atomic>
#include <functional>
#include <string>

#include "clean/RemovalReport.h"
#include "clean/RemovalSession.h"
#include "clean/RemovalTally.h"

// One row as the clean reads it when it gets there.
struct CleanRow {
    bool selected = false;
    std::wstring path;
    bool folder = false;  // the row stands for a whole folder
};

class ICleanRows {
public:
    virtual ~ICleanRows() = default;
    virtual int Count() = 0;
    virtual int SelectedCount() = 0;
    // The row's selection, path and kind, read at once.
    virtual CleanRow Row(int row) = 0;
};

class ICleanProgress {
public:
    virtual ~ICleanProgress() = default;
    // The clean starts on `row`.
    virtual void Starting(int row, const std::wstring& path) = 0;
    // The clean is through with `row`, whether or not its item went;
    // `startCount` is the number of rows selected when it began.
    virtual void Finished(int row, int startCount) = 0;
    // What the removal of `row` did, told just before Finished when the
    // clean counts its rows.
    virtual void Outcome(int row, const RowRemoval& removal) {}
    virtual void Done() = 0;
};

// Removes the item of one row.
using ItemRemover = std::function<void(const std::wstring& path, bool permanent, bool folderRow)>;

// The removal of one row's item: the item itself, and for a permanent clean
// of a folder row a second pass over what is left in the folder. Each entry
// that stays is told once, by its true reason. Without a context, this
// machine's guards telling nobody.
void RemoveRowItem(const std::wstring& path, bool permanent, bool folderRow);
void RemoveRowItem(const std::wstring& path, bool permanent, bool folderRow, const RemovalContext& removal);
// The same within a clean of many rows: a permanent removal goes through the
// clean's `session`, which keeps the last folder it checked.
void RemoveRowItem(const std::wstring& path, bool permanent, const RemovalContext& removal, CRemovalSession& session);

// The whole clean, on the calling thread, while `keepGoing` holds: rows from
// the last to row 0, selected ones only, each handed to `remove`. A removal
// that throws never stops it; its row counts as left. With a `tally` (the
// report that `remove` tells) each row's outcome goes to the progress.
void RunCleanJob(ICleanRows& rows, ICleanProgress& progress, bool permanent, const ItemRemover& remove,
                 const std::atomic<bool>& keepGoing, CRemovalTally* tally = nullptr);
