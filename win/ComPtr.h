#pragma once
// The owner of one interface pointer of a component: released at the end
// of its scope, moved but never copied.
#include <objbase.h>

#include <utility>

namespace win {

template <typename Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.m_p, nullptr));
        return *this;
    }
    ~ComPtr() { Reset(); }

    Interface* Get() const noexcept { return m_p; }
    Interface* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    // For the calls that hand out an interface through an out-parameter.
    void** PutVoid() noexcept {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }
    void Reset(Interface* p = nullptr) noexcept {
        if (m_p) m_p->Release();
        m_p = p;
    }

private:
    Interface* m_p = nullptr;
};

}  // namespace win
