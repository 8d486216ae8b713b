#include "win/Log.h"

#include <windows.h>

#include <exception>
#include <mutex>

#include "win/Text.h"

namespace win {
namespace {
std::mutex& SinkLock() {
    static std::mutex lock;
    return lock;
}
std::function<void(const std::wstring&)>& Sink() {
    static std::function<void(const std::wstring&)> sink;
    return sink;
}

std::wstring WhatIsInFlight() {
    try {
        throw;
    } catch (const std::exception& error) {
        return ToWide(error.what(), CP_ACP);
    } catch (...) {
        return L"an exception of unknown type";
    }
}
}  // namespace

void SetLogSink(std::function<void(const std::wstring&)> sink) {
    std::lock_guard<std::mutex> guard(SinkLock());
    Sink() = std::move(sink);
}

void LogLine(const std::wstring& line) noexcept {
    try {
        ::OutputDebugStringW((L"Brisko: " + line + L"\n").c_str());
        std::lock_guard<std::mutex> guard(SinkLock());
        if (Sink()) Sink()(line);
    } catch (...) {
        ::OutputDebugStringW(L"Brisko: a log line could not be written\n");
    }
}

void LogCaughtException(const wchar_t* where) noexcept {
    try {
        LogLine(std::wstring(where) + L": " + WhatIsInFlight());
    } catch (...) {
        ::OutputDebugStringW(L"Brisko: an exception could not be told\n");
    }
}

}  // namespace win
