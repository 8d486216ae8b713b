#pragma once
// The command line's output: lines to the standard output and error streams,
// as wide text on a console and as UTF-8 into a pipe or file, and a progress
// line that only a console shows.
#include <windows.h>

#include <string>

class CConsole {
public:
    CConsole();
    void Out(const std::wstring& line);
    void Err(const std::wstring& line);
    // Replaces the progress line on a console's error stream; "" clears it.
    // Nothing when the error stream is no console.
    void Progress(const std::wstring& text);

private:
    void Write(HANDLE stream, bool console, const std::wstring& text);
    HANDLE m_out;
    HANDLE m_err;
    bool m_outIsConsole;
    bool m_errIsConsole;
    size_t m_progressWidth = 0;
};
