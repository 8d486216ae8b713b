#include "cli/Options.h"

#include "privacy/browsers/Profiles.h"
#include "privacy/browsers/TraceKinds.h"
#include "res/resource.h"
#include "scan/Modes.h"

namespace {

const struct {
    const wchar_t* name;
    BYTE mode;
} kModes[] = {{L"standard", MODE_STANDARD}, {L"cookies", MODE_COOKIES_KILLER}, {L"offline", MODE_OFFLINE_TEMP}};

// "browsers [clean]" and their options; `parsed` holds the first error.
ParsedCommandLine ParseBrowsersCommand(const std::vector<std::wstring>& arguments) {
    ParsedCommandLine parsed;
    CliOptions& options = parsed.options;
    options.command = CliOptions::Command::Browsers;
    size_t first = 1;
    if (arguments.size() > 1 && arguments[1] == L"clean") {
        options.browsersClean = true;
        first = 2;
    }
    for (size_t i = first; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        std::wstring text;
        auto value = [&]() {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) return false;
            text = arguments[++i];
            return true;
        };
        std::optional<browsers::TraceKind> kind;
        if (argument.rfind(L"--", 0) == 0) kind = browsers::TraceKindFromName(argument.substr(2));
        if (argument == L"--help" || argument == L"-h") {
            options.command = CliOptions::Command::Help;
            return parsed;
        } else if (argument == L"--json") {
            options.json = true;
        } else if (argument == L"--quiet" || argument == L"-q") {
            options.quiet = true;
        } else if (argument == L"--browser") {
            if (!value() || !browsers::IsKnownBrowserName(text))
                parsed.error = L"--browser needs one of: " + browsers::KnownBrowserNames();
            else options.browserNames.push_back(text);
        } else if (argument == L"--keep-cookies") {
            if (!value()) parsed.error = L"--keep-cookies needs a host name, such as example.com";
            else options.keepCookies.push_back(text);
        } else if (argument == L"--keep-cookies-file") {
            if (!value()) parsed.error = L"--keep-cookies-file needs a file of host names, one a line";
            else options.keepCookiesFiles.push_back(text);
        } else if (options.browsersClean && kind) {
            options.traceKinds |= 1u << static_cast<int>(*kind);
        } else if (options.browsersClean && argument == L"--dry-run") {
            options.dryRun = true;
        } else {
            parsed.error = L"unknown option \"" + argument + L"\" for \"browsers" +
                           (options.browsersClean ? L" clean" : L"") + L"\" (see --help)";
        }
        if (!parsed.error.empty()) return parsed;
    }
    return parsed;
}

// A scheduled task's own arguments, read as a direct call's: the task runs a scan, a clean or the browsers' cleaning.
std::wstring CheckTaskArguments(const std::vector<std::wstring>& arguments) {
    ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.error.empty()) return L"the task's arguments: " + parsed.error;
    CliOptions::Command command = parsed.options.command;
    if (command != CliOptions::Command::Scan && command != CliOptions::Command::Clean &&
        command != CliOptions::Command::Browsers)
        return L"a task runs \"scan\", \"clean\" or \"browsers\"";
    return {};
}

}  // namespace

std::optional<BYTE> ModeFromName(const std::wstring& name) {
    for (const auto& entry : kModes)
        if (_wcsicmp(entry.name, name.c_str()) == 0) return entry.mode;
    return std::nullopt;
}

const wchar_t* ModeName(BYTE mode) {
    for (const auto& entry : kModes)
        if (entry.mode == mode) return entry.name;
    return L"standard";
}

ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) {
    ParsedCommandLine parsed;
    CliOptions& options = parsed.options;
    auto fail = [&parsed](const std::wstring& text) {
        parsed.error = text;
        return parsed;
    };
    if (arguments.empty()) return fail(L"no command given: use \"scan\", \"clean\", \"rules\", \"browsers\" or \"schedule\" (see --help)");
    const std::wstring& command = arguments[0];
    if (command == L"--help" || command == L"-h" || command == L"/?" || command == L"help") return parsed;
    if (command == L"browsers") return ParseBrowsersCommand(arguments);
    if (command == L"--version") {
        options.command = CliOptions::Command::Version;
        return parsed;
    }
    if (command == L"scan") options.command = CliOptions::Command::Scan;
    else if (command == L"clean") options.command = CliOptions::Command::Clean;
    else if (command == L"rules") options.command = CliOptions::Command::Rules;
    else if (command == L"schedule") options.command = CliOptions::Command::Schedule;
    else return fail(L"unknown command \"" + command + L"\": use \"scan\", \"clean\", \"rules\", \"browsers\" or \"schedule\" (see --help)");
    if (options.command == CliOptions::Command::Schedule) {
        std::vector<std::wstring> words(arguments.begin() + 1, arguments.end());
        parsed.error = ParseScheduleArguments(words, options.schedule);
        if (parsed.error.empty() && options.schedule.action == ScheduleRequest::Action::Add)
            parsed.error = CheckTaskArguments(options.schedule.arguments);
        options.json = words.size() == 2 && words[0] == L"list" && words[1] == L"--json";
        return parsed;
    }

    bool modeGiven = false, removalGiven = false;
    size_t first = 1;
    if (options.command == CliOptions::Command::Rules) {
        if (arguments.size() < 2 || arguments[1].rfind(L"--", 0) == 0)
            return fail(L"rules needs the path of a rules file");
        options.rules = arguments[first++];
    }
    for (size_t i = first; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        auto value = [&](std::wstring& out) {
            if (i + 1 >= arguments.size()) return false;
            out = arguments[++i];
            return true;
        };
        std::wstring text;
        bool isClean = options.command == CliOptions::Command::Clean;
        bool isRules = options.command == CliOptions::Command::Rules;
        if (argument == L"--help" || argument == L"-h") {
            options.command = CliOptions::Command::Help;
            return parsed;
        } else if (!isRules && argument == L"--rules") {
            if (!value(options.rules) || options.rules.empty()) return fail(L"--rules needs the path of a rules file");
        } else if (!isRules && argument == L"--mode") {
            if (!value(text)) return fail(L"--mode needs a mode: standard, cookies or offline");
            std::optional<BYTE> mode = ModeFromName(text);
            if (!mode) return fail(L"unknown mode \"" + text + L"\": use standard, cookies or offline");
            options.mode = *mode;
            modeGiven = true;
        } else if (argument == L"--entry") {
            if (!value(text) || text.empty()) return fail(L"--entry needs the name of an entry of the rules file");
            options.entries.push_back(text);
        } else if (argument == L"--entries-from") {
            if (!value(options.entriesFrom) || options.entriesFrom.empty())
                return fail(L"--entries-from needs the path of a file of entry names, one a line");
        } else if (argument == L"--all-entries") {
            options.allEntries = true;
        } else if (argument == L"--json") {
            options.json = true;
        } else if (argument == L"--quiet" || argument == L"-q") {
            options.quiet = true;
        } else if (isClean && (argument == L"--permanent" || argument == L"--recycle")) {
            bool permanent = argument == L"--permanent";
            if (removalGiven && options.permanent != permanent)
                return fail(L"--permanent and --recycle cannot go together");
            options.permanent = permanent;
            removalGiven = true;
        } else if (isClean && argument == L"--report") {
            if (!value(options.report) || options.report.empty()) return fail(L"--report needs the path of a file");
        } else if (isClean && argument == L"--dry-run") {
            options.dryRun = true;
        } else if (isClean && (argument == L"--include" || argument == L"--exclude")) {
            if (!value(text) || text.empty()) return fail(argument + L" needs a pattern, such as *.tmp");
            (argument == L"--include" ? options.include : options.exclude).push_back(text);
        } else {
            return fail(L"unknown option \"" + argument + L"\" for \"" + command + L"\" (see --help)");
        }
    }
    const bool namesEntries = !options.entries.empty() || !options.entriesFrom.empty();
    if (options.allEntries && namesEntries)
        return fail(L"--entry and --entries-from cannot go together with --all-entries");
    if ((options.allEntries || namesEntries) && options.rules.empty())
        return fail(L"--entry, --entries-from and --all-entries need --rules FILE");
    if (options.command == CliOptions::Command::Clean) {
        if (!modeGiven) return fail(L"clean needs --mode standard, cookies or offline");
        if (!removalGiven) return fail(L"clean needs --permanent or --recycle");
    }
    return parsed;
}

std::wstring VersionText() {
    const int parts[] = {BRISKO_VERSION};
    std::wstring file;
    for (int part : parts) file += (file.empty() ? L"" : L".") + std::to_wstring(part);
    return L"brisko-cli " BRISKO_DISPLAY_VERSION L" (file version " + file + L")";
}

std::wstring UsageText() {
    return VersionText() + L": finds throw-away files and removes them, without a window.\n"
           L"\n"
           L"  brisko-cli scan [--mode standard|cookies|offline] [--rules FILE [--entry NAME]...]\n"
           L"                  [--entries-from LIST] [--all-entries] [--json] [--quiet]\n"
           L"      Lists what the mode finds, one item a line, and a summary.\n"
           L"  brisko-cli clean --mode M --permanent|--recycle [--dry-run] [--rules FILE [--entry NAME]...]\n"
           L"                   [--entries-from LIST] [--all-entries] [--include GLOB]... [--exclude GLOB]...\n"
           L"                   [--report FILE]\n"
           L"                   [--json] [--quiet]\n"
           L"      Removes what the scan finds: for good, or to the Recycle Bin. Links,\n"
           L"      protected folders and files in use are never removed; system folders\n"
           L"      such as TMP are emptied and kept. --dry-run only says what would go,\n"
           L"      each folder with what it holds.\n"
           L"      --report writes a JSON summary to FILE at the end; every clean is also\n"
           L"      written to the Application event log (source Brisko).\n"
           L"  brisko-cli rules FILE [--entry NAME]... [--entries-from LIST] [--all-entries] [--json] [--quiet]\n"
           L"      Lists the entries of a rules file that apply on this machine, each on\n"
           L"      or off, with the bytes each would free, and the lines and rules left out.\n"
           L"  brisko-cli browsers [--browser NAME]... [--keep-cookies HOST]... [--json]\n"
           L"      Lists the browser profiles, whether their browser runs, and what a clean\n"
           L"      of each kind would remove. Changes nothing.\n"
           L"  brisko-cli browsers clean [--history] [--downloads] [--cookies] [--forms]\n"
           L"                   [--sessions] [--cache] [--browser NAME]... [--keep-cookies HOST]...\n"
           L"                   [--keep-cookies-file FILE] [--dry-run] [--json] [--quiet]\n"
           L"      Cleans the chosen kinds (none given: all but --sessions) from every\n"
           L"      profile whose browser is closed, without a question. A cookie of a kept\n"
           L"      host, of one of its subdomains or sent to it stays. The sites kept are\n"
           L"      those given, else the saved list of Options > Browsers; the policy's\n"
           L"      are added to either. Browsers: chrome, edge, brave, vivaldi, opera,\n"
           L"      opera-gx, chromium, firefox.\n"
           L"  brisko-cli schedule add NAME --daily HH:MM|--weekly DAY HH:MM|--at-logon\n"
           L"                   [--on-ac] [--when-idle] -- ARGS...\n"
           L"  brisko-cli schedule list [--json]\n"
           L"  brisko-cli schedule remove NAME\n"
           L"      Runs \"brisko-cli ARGS\" (a scan or a clean) as you, with least privilege,\n"
           L"      from the Task Scheduler's \\Brisko folder; --on-ac and --when-idle add\n"
           L"      those conditions. A task of the same name is replaced. Files the\n"
           L"      ARGS name are stored as full paths and the task runs in the folder it\n"
           L"      was added in; list shows what each task runs, and notes each %VAR% of\n"
           L"      its ARGS, which Windows expands as the task runs.\n"
           L"  --rules FILE (scan and clean): the Standard scan adds what the entries of\n"
           L"      the rules file (winapp2 INI form) that are on find. An entry is off\n"
           L"      unless the file says Default=True for it. --entry NAME (repeatable)\n"
           L"      turns on the entries named and no other; a name the file does not\n"
           L"      hold is refused (exit status 2). --entries-from LIST names more, one\n"
           L"      a line (blank lines and lines starting with ; or # name none).\n"
           L"      --all-entries turns every entry on. An item an entry found is listed\n"
           L"      with the entry's name: \"[NAME]\" after it, \"entry\" in --json.\n"
           L"      A RegKey line lists a key (KEY) or one value (KEY|NAME) of HKCU or\n"
           L"      HKLM under Software; Software, Policies, Classes, a vendor's own key\n"
           L"      and the system's keys near the top of Microsoft's are never taken\n"
           L"      whole. Keys go only with --permanent: a --recycle\n"
           L"      clean leaves them (the Recycle Bin takes no key).\n"
           L"\n"
           L"  A GLOB with a backslash matches the whole path, any other the item's name;\n"
           L"  * and ? are wildcards, letter case does not matter.\n"
           L"  --json prints one JSON object a line: path, kind, size, modified, mode\n"
           L"  (and entry, for an item a rules entry found).\n"
           L"  Progress goes to the console's error stream; --quiet leaves it out.\n"
           L"\n"
           L"  Policies of your organisation (SOFTWARE\\Policies\\Brisko\\Brisko .NET) may\n"
           L"  set the rules file, refuse --permanent or the cookies and offline modes,\n"
           L"  and keep paths out of every scan and clean.\n"
           L"  brisko-cli --version prints the version.\n"
           L"\n"
           L"Exit status: 0 all went well, 1 some items were left, 2 bad usage or refused\n"
           L"by a policy.\n";
}
