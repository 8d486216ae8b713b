#pragma once
// brisko-cli.exe run as a process with its output in files, and a strict
// reader of the JSON lines it prints.
#include <windows.h>

#include <cwctype>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "win/Text.h"

namespace testing_support {

struct CliRun {
    long exitCode = -1;
    std::wstring out;
    std::wstring err;
};

// Runs brisko-cli.exe with its output streams in files, and waits for it.
inline CliRun RunCli(const std::wstring& arguments) {
    ScratchFolder streams{L"cli-streams"};
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    auto open = [&](const wchar_t* name) {
        return ::CreateFileW((streams / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                             nullptr);
    };
    HANDLE out = open(L"out.txt"), err = open(L"err.txt");
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    std::wstring line = L"brisko-cli.exe " + arguments;
    CliRun run;
    if (::CreateProcessW(SiblingProgram(L"brisko-cli.exe").c_str(), line.data(), nullptr, nullptr, TRUE,
                         CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
        if (::WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(pi.hProcess, &code);
            run.exitCode = static_cast<long>(code);
        }
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
    ::CloseHandle(out);
    ::CloseHandle(err);
    run.out = win::ToWide(ReadFileBytes(streams / L"out.txt"));
    run.err = win::ToWide(ReadFileBytes(streams / L"err.txt"));
    return run;
}

inline std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// A strict reader of one JSON value, enough to prove that a line is well formed.
class JsonReader {
public:
    explicit JsonReader(const std::wstring& text) : m_text(text) {}
    bool WholeIsOneObject() { return Object() && (Blanks(), m_at == m_text.size()); }

private:
    void Blanks() {
        while (m_at < m_text.size() && std::iswspace(m_text[m_at])) ++m_at;
    }
    bool Take(wchar_t c) {
        Blanks();
        if (m_at < m_text.size() && m_text[m_at] == c) return ++m_at, true;
        return false;
    }
    bool String() {
        if (!Take(L'"')) return false;
        while (m_at < m_text.size() && m_text[m_at] != L'"') {
            if (m_text[m_at] < 0x20) return false;
            if (m_text[m_at++] != L'\\') continue;
            if (m_at >= m_text.size() || std::wstring(L"\"\\/bfnrtu").find(m_text[m_at]) == std::wstring::npos)
                return false;
            m_at += m_text[m_at] == L'u' ? 5 : 1;
        }
        return Take(L'"');
    }
    bool Word(const wchar_t* word) {
        Blanks();
        size_t n = wcslen(word);
        if (m_text.compare(m_at, n, word) != 0) return false;
        m_at += n;
        return true;
    }
    bool Number() {
        Blanks();
        size_t start = m_at;
        while (m_at < m_text.size() && (std::iswdigit(m_text[m_at]) || m_text[m_at] == L'-')) ++m_at;
        return m_at > start;
    }
    bool Value() {
        Blanks();
        if (m_at >= m_text.size()) return false;
        switch (m_text[m_at]) {
        case L'{': return Object();
        case L'[': return Array();
        case L'"': return String();
        case L't': return Word(L"true");
        case L'f': return Word(L"false");
        case L'n': return Word(L"null");
        default: return Number();
        }
    }
    bool Array() {
        if (!Take(L'[')) return false;
        if (Take(L']')) return true;
        do {
            if (!Value()) return false;
        } while (Take(L','));
        return Take(L']');
    }
    bool Object() {
        if (!Take(L'{')) return false;
        if (Take(L'}')) return true;
        do {
            if (!String() || !Take(L':') || !Value()) return false;
        } while (Take(L','));
        return Take(L'}');
    }
    const std::wstring& m_text;
    size_t m_at = 0;
};

}  // namespace testing_support
