#pragma once
// The rules file of the command line: read once, its problems told on the
// error stream, and the "rules" command that lists what its entries would free.
#include <optional>
#include <string>

#include "catalog/BriskoDoc.h"
#include "cli/Console.h"
#include "cli/Options.h"
#include "scan/RulesScan.h"

// The file's entries, with every line left out told unless quiet; nothing
// (and the reason told) when the file cannot be read at all.
std::optional<RulesFile> LoadRulesFile(const std::wstring& path, CConsole& console, bool quiet);

// Tells each rule refused on this machine, and each target a scan leaves
// out, on the error stream.
class CRefusalPrinter : public IRuleReport {
public:
    CRefusalPrinter(CConsole& console, bool quiet) : m_console(console), m_quiet(quiet) {}
    void Refused(const RuleEntry& entry, const std::wstring& folder, const std::wstring& why) override;
    void Notice(const std::wstring& text) override;

private:
    CConsole& m_console;
    bool m_quiet;
};

// One line per entry that applies here: its bytes and items, name and group,
// and whether it is off by default; then a summary. False when the file
// cannot be read.
bool ListRulesEntries(const CBriskoDoc& doc, const CliOptions& options, CConsole& console);
