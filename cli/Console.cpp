#include "cli/Console.h"

#include "win/Text.h"

namespace {
bool IsConsole(HANDLE stream) {
    DWORD mode = 0;
    return stream && stream != INVALID_HANDLE_VALUE && ::GetConsoleMode(stream, &mode);
}
}  // namespace

CConsole::CConsole()
    : m_out(::GetStdHandle(STD_OUTPUT_HANDLE)),
      m_err(::GetStdHandle(STD_ERROR_HANDLE)),
      m_outIsConsole(IsConsole(m_out)),
      m_errIsConsole(IsConsole(m_err)) {}

void CConsole::Write(HANDLE stream, bool console, const std::wstring& text) {
    if (!stream || stream == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (console) {
        ::WriteConsoleW(stream, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    std::string bytes = win::ToNarrow(text, CP_UTF8);
    ::WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void CConsole::Out(const std::wstring& line) {
    Progress(L"");
    Write(m_out, m_outIsConsole, line + L"\n");
}

void CConsole::Err(const std::wstring& line) {
    Progress(L"");
    Write(m_err, m_errIsConsole, line + L"\n");
}

void CConsole::Progress(const std::wstring& text) {
    if (!m_errIsConsole || (text.empty() && m_progressWidth == 0)) return;
    // One line, cut to fit a common console width, written over the last one.
    std::wstring line = text.size() > 78 ? L"..." + text.substr(text.size() - 75) : text;
    std::wstring padded = L"\r" + line + std::wstring(m_progressWidth > line.size() ? m_progressWidth - line.size() : 0, L' ');
    if (text.empty()) padded += L"\r";
    Write(m_err, true, padded);
    m_progressWidth = line.size();
}
