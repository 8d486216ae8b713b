#pragma once
// A clean: the rows the user keeps selected, removed from the last to the
// first, each read only when the clean reaches it. The window reads its rows
// from the list and reports through its own messages; the command line works
// through a list of its own. Both run RunGuardedClean: the loop, the guards,
// the removal of each row and the tally of what it did exist once.
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
};

class ICleanRows {
public:
    virtual ~ICleanRows() = default;
    virtual int Count() = 0;
    virtual int SelectedCount() = 0;
    // The row's selection and path, read at once.
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
using ItemRemover = std::function<void(const std::wstring& path, bool permanent)>;

// The removal of one row's item, a file or a whole folder. Each entry that
// stays is told once, by its true reason. Without a context, this machine's
// guards telling nobody.
void RemoveRowItem(const std::wstring& path, bool permanent);
void RemoveRowItem(const std::wstring& path, bool permanent, const RemovalContext& removal);
// The same within a clean of many rows: a permanent removal goes through the
// clean's `session`, which keeps the last folder it checked.
void RemoveRowItem(const std::wstring& path, bool permanent, const RemovalContext& removal, CRemovalSession& session);

// The whole clean, on the calling thread, until `stop` is set: rows from
// the last to row 0, selected ones only, each handed to `remove`. A removal
// that throws never stops it; its row counts as left. With a `tally` (the
// report that `remove` tells) each row's outcome goes to the progress. A
// stop takes effect after the row in hand.
void RunCleanJob(ICleanRows& rows, ICleanProgress& progress, bool permanent, const ItemRemover& remove,
                 const std::atomic<bool>& stop, CRemovalTally* tally = nullptr);

// How a guarded clean removes.
struct CleanHow {
    bool permanent = true;
    // Told each file and folder the removal hands over; nobody when null.
    IRemovalReport* report = nullptr;
    // The removal of one row's item; empty for the real one. Tests put a
    // recording one in.
    ItemRemover remove;
    // A row cleaned where it is rather than removed (a cookie database
    // cleaned around the sites kept): true when it took the row.
    std::function<bool(const std::wstring& path, IRemovalReport& report)> cleanInstead;
};

// The clean of the window and of the command line: RunCleanJob over `rows`
// with this machine's guards and the policies' exclusions, a permanent
// removal through one session for the whole clean, and each row's outcome
// counted for `progress`.
void RunGuardedClean(ICleanRows& rows, const CleanHow& how, ICleanProgress& progress, const std::atomic<bool>& stop);
