#pragma once
// The command line of brisko-cli, read into one plain record. Nothing here
// touches the machine.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/ScheduleOptions.h"

struct CliOptions {
    enum class Command { Help, Version, Scan, Clean, Rules, Browsers, Schedule } command = Command::Help;
    BYTE mode = 1;            // MODE_STANDARD
    bool json = false;        // JSON lines instead of text
    bool permanent = false;   // clean: --permanent, else --recycle
    bool dryRun = false;      // clean: say what would go, remove nothing
    bool quiet = false;       // no progress and no summary
    std::vector<std::wstring> include;  // only items that match one of these
    std::vector<std::wstring> exclude;  // never items that match one of these
    std::wstring rules;       // a rules file whose entries the Standard scan adds; "rules": the file listed
    std::vector<std::wstring> entries;  // --entry: the only entries of the rules file that are on
    std::wstring entriesFrom;           // --entries-from: a file naming more entries that are on, one a line
    bool allEntries = false;            // --all-entries: every entry of the rules file is on
    std::wstring report;      // clean: the JSON report written at the end; "" for none
    ScheduleRequest schedule;  // "schedule": what to add, list or remove
    // "browsers" and "browsers clean".
    bool browsersClean = false;
    unsigned traceKinds = 0;                // --history, --cookies, ...; none: the window's default choice
    std::vector<std::wstring> browserNames; // --browser: only these browsers
    std::vector<std::wstring> keepCookies;  // --keep-cookies HOST
    std::vector<std::wstring> keepCookiesFiles;  // --keep-cookies-file FILE
};

// The options, or the error in plain words (error set, options unusable).
struct ParsedCommandLine {
    CliOptions options;
    std::wstring error;
};
ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

// The mode named on the command line ("standard", "cookies", "offline").
std::optional<BYTE> ModeFromName(const std::wstring& name);
const wchar_t* ModeName(BYTE mode);

// The text of --help.
std::wstring UsageText();
// The text of --version: "brisko-cli 3.69 (file version 3.6.9.0)".
std::wstring VersionText();
