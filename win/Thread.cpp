#include "win/Thread.h"

#include <memory>

#include "win/Log.h"

namespace win {
namespace {
struct Work {
    std::function<void()> run;
    const wchar_t* name;
};

DWORD WINAPI RunWork(void* parameter) {
    std::unique_ptr<Work> work(static_cast<Work*>(parameter));
    try {
        work->run();
    } catch (...) {
        LogCaughtException(work->name);
    }
    return 0;
}
}  // namespace

Thread Thread::Start(std::function<void()> work, const wchar_t* name, int priority) {
    auto owned = std::make_unique<Work>(Work{std::move(work), name});
    KernelHandle handle(::CreateThread(nullptr, 0, &RunWork, owned.get(), CREATE_SUSPENDED, nullptr));
    if (!handle) return Thread();
    owned.release();  // the thread owns it now
    ::SetThreadPriority(handle.Get(), priority);
    ::ResumeThread(handle.Get());
    return Thread(std::move(handle));
}

bool Thread::Wait(DWORD milliseconds) const {
    return !m_handle || ::WaitForSingleObject(m_handle.Get(), milliseconds) == WAIT_OBJECT_0;
}

}  // namespace win
