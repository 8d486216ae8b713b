#include "win/CommandLine.h"

#include <windows.h>
#include <shellapi.h>

namespace win {

namespace {
bool SameText(const std::wstring& a, const wchar_t* b) { return ::lstrcmpiW(a.c_str(), b) == 0; }
}  // namespace

void CCommandLineInfo::ParseParam(const std::wstring& param, bool isFlag) {
    if (isFlag) {
        if (SameText(param, L"pt")) m_nShellCommand = FilePrintTo;
        else if (SameText(param, L"p")) m_nShellCommand = FilePrint;
        else if (SameText(param, L"dde")) m_nShellCommand = FileDDE;
        else if (SameText(param, L"register") || SameText(param, L"regserver")) m_nShellCommand = AppRegister;
        else if (SameText(param, L"unregister") || SameText(param, L"unregserver")) m_nShellCommand = AppUnregister;
        else if (SameText(param, L"embedding")) { m_bRunEmbedded = true; m_nShellCommand = FileNothing; }
        else if (SameText(param, L"automation")) { m_bRunAutomated = true; m_nShellCommand = FileNothing; }
        return;  // any other flag is ignored
    }
    if (m_strFileName.empty()) {
        m_strFileName = param;
        if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.empty()) m_strPrinterName = param;
        else if (m_strDriverName.empty()) m_strDriverName = param;
        else if (m_strPortName.empty()) m_strPortName = param;
    }
}

std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine) {
    std::vector<std::wstring> args;
    if (!commandLine || !*commandLine) return args;
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine, &argc);
    if (!argv) return args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    ::LocalFree(argv);
    return args;
}

namespace {
std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');  // before the closing quote
    return out + L"\"";
}
}  // namespace

std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments) {
    std::wstring line;
    for (const std::wstring& argument : arguments) {
        if (!line.empty()) line += L' ';
        line += QuoteArgument(argument);
    }
    return line;
}

CCommandLineInfo ParseCommandLine(const wchar_t* commandLine) {
    CCommandLineInfo info;
    for (const std::wstring& arg : SplitCommandLine(commandLine)) {
        bool isFlag = !arg.empty() && (arg[0] == L'-' || arg[0] == L'/');
        info.ParseParam(isFlag ? arg.substr(1) : arg, isFlag);
    }
    return info;
}

}  // namespace win
