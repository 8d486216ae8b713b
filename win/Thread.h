#pragma once
// The program's one way to run work on a thread of its own: the thread owns
// its work, an exception that escapes the work is logged, never lost, and
// the handle is closed by its owner.
#include <windows.h>

#include <functional>

#include "win/Handle.h"

namespace win {

class Thread {
public:
    Thread() = default;
    // Runs `work` on a new thread at `priority`; an empty thread when none
    // could be started (`work` then never runs). `name` tells the log where
    // an escaped exception came from.
    static Thread Start(std::function<void()> work, const wchar_t* name, int priority = THREAD_PRIORITY_NORMAL);

    explicit operator bool() const noexcept { return m_handle.IsValid(); }
    HANDLE Get() const noexcept { return m_handle.Get(); }
    // True when the thread has ended within `milliseconds`.
    bool Wait(DWORD milliseconds) const;
    // Forgets the thread without waiting; it runs on with what it owns.
    void Reset() noexcept { m_handle.Reset(); }

private:
    explicit Thread(KernelHandle handle) : m_handle(std::move(handle)) {}
    KernelHandle m_handle;
};

}  // namespace win
