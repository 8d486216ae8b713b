#pragma once
// Command-line parsing into the shell command that start-up carries out:
// arguments that begin with "-" or "/" are flags, the first other one is the
// file name.
#include <string>
#include <vector>

namespace win {

struct CCommandLineInfo {
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing };

    ShellCommand m_nShellCommand = FileNew;
    std::wstring m_strFileName;
    std::wstring m_strPrinterName, m_strDriverName, m_strPortName;
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;

    void ParseParam(const std::wstring& param, bool isFlag);
};

// Splits a command line the way the C runtime does (CommandLineToArgvW);
// the first element, the program, is dropped.
std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine);
CCommandLineInfo ParseCommandLine(const wchar_t* commandLine);

// The arguments as one command-line text that SplitCommandLine (and the C
// runtime) splits back into exactly them: each one with a blank, a tab or a
// quote, or empty, goes in quotes, with its quotes and the backslashes before
// them escaped.
std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments);

}  // namespace win
