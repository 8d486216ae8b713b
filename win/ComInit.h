#pragma once
// The platform's component library, initialised on the calling thread for
// one scope and uninitialised at its end if the initialisation succeeded.
#include <objbase.h>

namespace win {

class ComInit {
public:
    explicit ComInit(DWORD model = COINIT_APARTMENTTHREADED) noexcept : m_hr(::CoInitializeEx(nullptr, model)) {}
    ~ComInit() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    // False when the thread could not be initialised (for example when it is
    // already in another threading model; components may still be usable).
    bool Succeeded() const noexcept { return SUCCEEDED(m_hr); }

private:
    HRESULT m_hr;
};

}  // namespace win
