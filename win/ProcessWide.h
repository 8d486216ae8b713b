#pragma once
// The values one process keeps once for all its threads, and those each thread keeps for itself. The program's
// process-wide state lives here and nowhere else, each kind of value behind
// a lock of its own, reached only while the lock is held.
#include <windows.h>

namespace win {

template <typename Value>
class Guarded {
public:
    Guarded() = default;
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    // Runs `use` on the value under the lock; its result.
    template <typename Use>
    auto With(Use use) {
        ::AcquireSRWLockExclusive(&m_lock);
        struct Release {
            SRWLOCK& lock;
            ~Release() { ::ReleaseSRWLockExclusive(&lock); }
        } release{m_lock};
        return use(m_value);
    }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    Value m_value{};
};

// The one value of type `Value` in this process.
template <typename Value>
Guarded<Value>& ProcessWide() {
    static Guarded<Value> value;
    return value;
}

// The one value of type `Value` of the calling thread: no other thread sees
// it, so it needs no lock (a cache of the thread's last answer). It lives in
// a fiber-local slot whose callback deletes it as the thread ends: the
// compiler's thread_local objects of this runtime may be destroyed after
// the storage under them went, which corrupts the heap at a thread's end.
template <typename Value>
void WINAPI DeleteThreadValue(void* value) {
    delete static_cast<Value*>(value);
}

template <typename Value>
Value& ThisThread() {
    static const DWORD slot = ::FlsAlloc(&DeleteThreadValue<Value>);
    auto* value = static_cast<Value*>(::FlsGetValue(slot));
    if (!value) {
        value = new Value();
        ::FlsSetValue(slot, value);
    }
    return *value;
}

}  // namespace win
