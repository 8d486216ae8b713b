#include <gtest/gtest.h>

#include "win/CommandLine.h"

using win::CCommandLineInfo;
using win::ParseCommandLine;

TEST(CommandLine, FlagsStartWithDashOrSlashAndTheFirstOtherArgumentIsTheFile) {
    EXPECT_EQ(ParseCommandLine(L"brisko.exe").m_nShellCommand, CCommandLineInfo::FileNew);
    CCommandLineInfo open = ParseCommandLine(L"\"C:\\p\\brisko.exe\" \"C:\\my docs\\a.txt\" b.txt");
    EXPECT_EQ(open.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(open.m_strFileName, L"C:\\my docs\\a.txt");
    CCommandLineInfo print = ParseCommandLine(L"brisko.exe /p C:\\a.txt");
    EXPECT_EQ(print.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(print.m_strFileName, L"C:\\a.txt");
    EXPECT_EQ(ParseCommandLine(L"brisko.exe -P x").m_nShellCommand, CCommandLineInfo::FilePrint);
    CCommandLineInfo printTo = ParseCommandLine(L"brisko.exe /pt f.txt printer driver port");
    EXPECT_EQ(printTo.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(printTo.m_strPortName, L"port");
    EXPECT_EQ(ParseCommandLine(L"brisko.exe /unregserver").m_nShellCommand, CCommandLineInfo::AppUnregister);
    EXPECT_EQ(ParseCommandLine(L"brisko.exe /nologo").m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST(CommandLine, VeryLongCommandLinesAreParsedWhole) {
    std::wstring longName(10000, L'n');
    CCommandLineInfo info = ParseCommandLine((L"brisko.exe " + longName).c_str());
    EXPECT_EQ(info.m_strFileName.size(), 10000u);
    std::wstring manyFlags = L"brisko.exe";
    for (int i = 0; i < 2000; ++i) manyFlags += L" /x";
    EXPECT_EQ(ParseCommandLine(manyFlags.c_str()).m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_EQ(ParseCommandLine(L"").m_nShellCommand, CCommandLineInfo::FileNew);
}
