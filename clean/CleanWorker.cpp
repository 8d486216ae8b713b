#include "clean/CleanWorker.h"

#include "clean/DeleteItem.h"
#include "clean/FolderRemoval.h"
#include "view/Modes.h"
#include "win/Controls.h"

namespace {

bool IsSelected(const win::CListCtrl& list, int row) {
    return (list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void RemoveQuietly(const CleanRequest& request, const std::wstring& path, bool folderRow) {
    // A failed removal never stops the clean: the row is dropped all the same.
    try {
        if (request.remove) request.remove(path, request.permanent, folderRow);
    } catch (...) {
    }
}

DWORD WINAPI CleanWorker(void* parameter) {
    std::unique_ptr<CleanRequest> request(static_cast<CleanRequest*>(parameter));
    try {
        return RunClean(*request);
    } catch (...) {
        ::PostMessageW(request->reportTo, WM_CLEANDONE, 0, 0);
        return 0;
    }
}

}  // namespace

void RemoveRowItem(const std::wstring& path, bool permanent, bool folderRow) {
    RemoveRowItem(path, permanent, folderRow, MachineGuards());
}

void RemoveRowItem(const std::wstring& path, bool permanent, bool folderRow, const RemovalGuards& guards) {
    DeleteFoundItem(path, permanent, guards);
    if (permanent && folderRow) RemoveFolderContents(path, guards);
}

DWORD RunClean(const CleanRequest& request) {
    win::CListCtrl list(request.list);
    const int startCount = list.GetSelectedCount();
    const int rows = list.GetItemCount();
    // From the end, so that dropping a finished row keeps the index of every
    // row still to come.
    for (int row = rows - 1; row >= 0 && request.control->keepGoing; --row) {
        if (!IsSelected(list, row)) continue;  // unselected meanwhile: skipped
        std::wstring path = list.GetItemText(row, 0);
        bool folderRow = list.GetItemText(row, 2).empty();
        if (request.setCurrentPath) request.setCurrentPath(path);
        ::PostMessageW(request.reportTo, WM_CLEANITEM, static_cast<WPARAM>(row), static_cast<LPARAM>(-1));
        RemoveQuietly(request, path, folderRow);
        ::PostMessageW(request.reportTo, WM_CLEANITEM, static_cast<WPARAM>(row), static_cast<LPARAM>(startCount));
    }
    ::PostMessageW(request.reportTo, WM_CLEANDONE, 0, 0);
    return 0;
}

win::KernelHandle StartCleanWorker(std::unique_ptr<CleanRequest> request) {
    win::KernelHandle thread(::CreateThread(nullptr, 0, &CleanWorker, request.get(), CREATE_SUSPENDED, nullptr));
    if (!thread) return thread;
    request.release();  // the thread owns it now
    ::SetThreadPriority(thread.Get(), THREAD_PRIORITY_HIGHEST);
    ::ResumeThread(thread.Get());
    return thread;
}
