#pragma once
// The rules file of the command line: read once, its problems told on the
// error stream, and the "rules" command that lists what its entries would free.
#include <optional>
#include <string>

#include "catalog/BriskoDoc.h"
#include "cli/Console.h"
#include "cli/Options.h"
#include "scan/RulesScan.h"

// The entries of the options' rules file, on as --entry or --all-entries
// choose (else as the file says), with every line left out told unless
// quiet; nothing (and the reason told) when the file cannot be read at all
// or --entry names an entry it does not hold.
std::optional<RulesFile> LoadRulesFile(const CliOptions& options, CConsole& console);

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

// One line per entry that applies here: its name and group, whether it is
// on, its items and bytes; then a summary. False when the file
// cannot be read.
bool ListRulesEntries(const CBriskoDoc& doc, const CliOptions& options, CConsole& console);
