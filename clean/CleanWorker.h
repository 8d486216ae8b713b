#pragma once
// The clean worker: removes the rows the user keeps selected, from the last
// to the first, and reports each row and its own end to the view.
#include <windows.h>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "clean/Guards.h"
#include "win/Handle.h"

// Shared by the view and its worker, so that neither outlives what it reads.
struct CleanControl {
    std::atomic<bool> keepGoing{true};  // cleared only when the view goes away
};

// Removes the item of one row; `folderRow` when the row's size text is empty.
using ItemRemover = std::function<void(const std::wstring& path, bool permanent, bool folderRow)>;

struct CleanRequest {
    HWND list = nullptr;      // read through synchronous messages only
    HWND reportTo = nullptr;  // receives WM_CLEANITEM and WM_CLEANDONE
    bool permanent = true;
    std::shared_ptr<CleanControl> control = std::make_shared<CleanControl>();
    std::function<void(const std::wstring&)> setCurrentPath;  // before each row
    ItemRemover remove;
};

// The removal of one row's item: the item itself, and for a permanent clean
// of a folder row a second pass over what is left in the folder. Without
// guards, this machine's.
void RemoveRowItem(const std::wstring& path, bool permanent, bool folderRow);
void RemoveRowItem(const std::wstring& path, bool permanent, bool folderRow, const RemovalGuards& guards);

// The worker's whole run, on the calling thread. Returns 0.
DWORD RunClean(const CleanRequest& request);

// Starts the worker at the highest normal priority; it owns `request`.
// An empty handle when no thread could be started.
win::KernelHandle StartCleanWorker(std::unique_ptr<CleanRequest> request);
