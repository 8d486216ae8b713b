#pragma once
// The one place where an exception that a boundary must not let through
// (a window procedure, a thread, a removal the clean goes on after) is told:
// a line on the debugger's output and to whatever the program adds (the
// command line its error stream).
#include <functional>
#include <string>

namespace win {

// Tells what the exception in flight was; call it only inside a catch block.
// `where` names the boundary that stopped it.
void LogCaughtException(const wchar_t* where) noexcept;

// One line to the debugger's output and to the added sink.
void LogLine(const std::wstring& line) noexcept;

// Adds a second receiver of every line (the command line's error stream);
// an empty function takes it away.
void SetLogSink(std::function<void(const std::wstring&)> sink);

}  // namespace win
