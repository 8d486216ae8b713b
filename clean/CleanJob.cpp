#include "clean/CleanJob.h"

#include "clean/DeleteItem.h"

void RemoveRowItem(const std::wstring& path, bool permanent, bool folderRow) {
    RemoveRowItem(path, permanent, folderRow, MachineRemoval());
}

void RemoveRowItem(const std::wstring& path, bool permanent, bool folderRow, const RemovalContext& removal) {
    // A permanent removal of a folder is already the walk that removes what
    // it can and tells the rest; a second pass would tell the rest twice.
    (void)folderRow;
    DeleteFoundItem(path, permanent, removal);
}

void RunCleanJob(ICleanRows& rows, ICleanProgress& progress, bool permanent, const ItemRemover& remove,
                 const std::atomic<bool>& keepGoing) {
    const int startCount = rows.SelectedCount();
    // From the end, so that dropping a finished row keeps the index of every
    // row still to come.
    for (int row = rows.Count() - 1; row >= 0 && keepGoing; --row) {
        CleanRow current = rows.Row(row);
        if (!current.selected) continue;  // unselected meanwhile: skipped
        progress.Starting(row, current.path);
        try {
            remove(current.path, permanent, current.folder);
        } catch (...) {
            // A failed removal never stops the clean: the row is dropped all the same.
        }
        progress.Finished(row, startCount);
    }
    progress.Done();
}
