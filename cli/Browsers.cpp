#include "cli/Browsers.h"

#include <algorithm>
#include <vector>

#include "cli/Output.h"
#include "i18n/LanguageChoice.h"
#include "privacy/browsers/BrowserCleaning.h"
#include "privacy/browsers/SavedKeepList.h"
#include "scan/RulesFile.h"
#include "win/Handle.h"
#include "win/Text.h"

using namespace browsers;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitLeft = 1;
constexpr int kExitUsage = 2;
constexpr DWORD kMaxKeepFileBytes = 1 << 20;

bool ReadKeepFile(const std::wstring& path, CKeepList& keep) {
    win::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxKeepFileBytes) return false;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return false;
    keep.AddLines(DecodeRulesBytes(bytes));
    return true;
}

const wchar_t* LeftWhyText(LeftWhy why) {
    switch (why) {
    case LeftWhy::NotADatabase: return L"not a valid SQLite database";
    case LeftWhy::IntegrityFailed: return L"damaged: its integrity check failed";
    case LeftWhy::Failed: return L"failed";
    case LeftWhy::ItemLeft: return L"left";
    case LeftWhy::Unsafe: return L"a link or a file with more than one name: never written";
    case LeftWhy::Excluded: return L"excluded by the policy ExcludePaths";
    }
    return L"";
}
constexpr const wchar_t* kInUseText = L"in use: close the browser";

const wchar_t* RefusalText(Refusal refused) {
    return refused == Refusal::Outside ? L"refused: profiles.ini names a folder outside your user folder"
                                       : L"left: the policy ExcludePaths excludes the profile";
}

std::wstring Plural(long long n, const wchar_t* one, const wchar_t* many) {
    return win::GroupedNumber(static_cast<ULONGLONG>(n)) + L" " + (n == 1 ? one : many);
}

// "history 3 visits, cookies 3 (2 kept), cache 1 item (2.9 KB (3,000 bytes))"
std::wstring CountsText(const ProfileReport& report) {
    std::wstring text;
    for (TraceKind kind : kAllTraceKinds) {
        const KindCount& count = report.Of(kind);
        if (!count.looked) continue;
        std::wstring part = std::wstring(TraceKindName(kind)) + L" ";
        switch (kind) {
        case TraceKind::History: part += Plural(count.rows, L"visit", L"visits"); break;
        case TraceKind::Downloads: part += Plural(count.rows, L"download", L"downloads"); break;
        case TraceKind::Cookies:
            part += win::GroupedNumber(count.rows) + L" (" + win::GroupedNumber(count.kept) + L" kept)";
            break;
        case TraceKind::Forms: part += Plural(count.rows, L"entry", L"entries"); break;
        case TraceKind::Sessions:
        case TraceKind::Cache: part += Plural(count.rows, L"item", L"items") + L" (" + SizeText(count.bytes) + L")"; break;
        }
        text += (text.empty() ? L"" : L", ") + part;
    }
    return text;
}

std::wstring CountsJson(const ProfileReport& report) {
    std::wstring json;
    for (TraceKind kind : kAllTraceKinds) {
        const KindCount& count = report.Of(kind);
        if (!count.looked) continue;
        json += std::wstring(json.empty() ? L"" : L",") + L"\"" + TraceKindName(kind) + L"\":{\"count\":" +
                std::to_wstring(count.rows);
        if (kind == TraceKind::Cookies) json += L",\"kept\":" + std::to_wstring(count.kept);
        if (kind == TraceKind::Sessions || kind == TraceKind::Cache) json += L",\"bytes\":" + std::to_wstring(count.bytes);
        json += L"}";
    }
    return L"{" + json + L"}";
}

std::wstring LeftJson(const ProfileReport& report) {
    std::wstring json;
    for (const LeftItem& item : report.left)
        json += std::wstring(json.empty() ? L"" : L",") + L"{\"path\":" + JsonString(item.path) + L",\"reason\":" +
                JsonString(LeftWhyText(item.why)) + L",\"detail\":" + JsonString(item.detail) + L"}";
    return L"[" + json + L"]";
}

std::wstring ProfileLabel(const BrowserProfile& profile) { return profile.browser + L" / " + profile.name; }

// One profile's line(s): its state, the counts, and what was left and why.
void PrintProfile(CConsole& console, const CliOptions& options, const BrowserProfile& profile,
                  const ProfileReport& report, const wchar_t* action) {
    const wchar_t* state = report.refused == Refusal::Outside    ? L"refused"
                           : report.refused == Refusal::Excluded ? L"excluded"
                           : report.inUse                         ? L"in use"
                                                                  : L"ready";
    if (options.json) {
        std::wstring line = L"{\"browser\":" + JsonString(profile.browser) + L",\"key\":" + JsonString(profile.key) +
                            L",\"profile\":" + JsonString(profile.name) + L",\"folder\":" + JsonString(profile.folder) +
                            L",\"state\":" + JsonString(state);
        if (action) line += L",\"action\":" + JsonString(action);
        if (report.refused != Refusal::None) line += L",\"reason\":" + JsonString(RefusalText(report.refused));
        else if (report.inUse) line += L",\"reason\":" + JsonString(kInUseText);
        else line += L",\"counts\":" + CountsJson(report) + L",\"left\":" + LeftJson(report);
        console.Out(line + L"}");
        return;
    }
    std::wstring head = action ? std::wstring(action) + L"  " : std::wstring();
    if (report.refused != Refusal::None) {
        console.Out(head + ProfileLabel(profile) + L" (" + profile.folder + L"): " + RefusalText(report.refused));
        return;
    }
    if (report.inUse) {
        console.Out(head + ProfileLabel(profile) + L": " + kInUseText);
        return;
    }
    console.Out(head + ProfileLabel(profile) + L": " + CountsText(report));
    for (const LeftItem& item : report.left)
        console.Out(L"    kept " + item.path + L": " + LeftWhyText(item.why) +
                    (item.detail.empty() ? L"" : L" (" + item.detail + L")"));
}

// The sites given on the command line, or else the user's saved list; the
// policy's are added to either. False when a file cannot be read.
bool ChooseKeepList(const CliOptions& options, CConsole& console, CKeepList& keep) {
    bool given = !options.keepCookies.empty() || !options.keepCookiesFiles.empty();
    if (!given) {
        keep = UserKeepList(ProgramSettings(), ReadUserName());
        if (!options.quiet)
            console.Err(L"keeping the cookies of the saved list (Options > Browsers) and the policy's: " +
                        std::to_wstring(keep.Hosts().size()) + L" sites");
        return true;
    }
    keep = PolicyKeepList();
    for (const std::wstring& host : options.keepCookies) keep.AddHost(host);
    for (const std::wstring& file : options.keepCookiesFiles) {
        if (!ReadKeepFile(file, keep)) {
            console.Err(L"brisko-cli: cannot read the keep-list file " + file);
            return false;
        }
    }
    if (!options.quiet)
        console.Err(L"keeping the cookies of the sites given on the command line and the policy's: " +
                    std::to_wstring(keep.Hosts().size()) + L" sites (the saved list is not used)");
    return true;
}

}  // namespace

int RunBrowsersCommand(const CliOptions& options, CConsole& console) {
    CKeepList keep;
    if (!ChooseKeepList(options, console, keep)) return kExitUsage;
    TraceKinds kinds = options.traceKinds ? TraceKinds::FromMask(options.traceKinds) : TraceKinds::Default();
    if (!options.browsersClean) kinds = TraceKinds::FromMask(0x3f);
    size_t profiles = 0, left = 0;
    std::vector<ProfileReport> reports;
    for (const BrowserProfile& profile : FindBrowserProfiles(UserBrowserRoots())) {
        if (!options.browserNames.empty() &&
            std::none_of(options.browserNames.begin(), options.browserNames.end(),
                         [&](const std::wstring& name) { return NamesBrowser(profile, name); }))
            continue;
        ++profiles;
        if (!options.quiet && options.browsersClean && !options.dryRun)
            console.Progress(L"cleaning " + ProfileLabel(profile));
        bool look = !options.browsersClean || options.dryRun;
        ProfileReport report = look ? PreviewProfile(profile, kinds, keep) : CleanProfile(profile, kinds, keep);
        console.Progress(L"");
        const wchar_t* action = !options.browsersClean ? nullptr
                                : options.dryRun       ? L"would clean"
                                : report.AllDone()     ? L"cleaned"
                                                       : L"left";
        PrintProfile(console, options, profile, report, action);
        if (!report.AllDone()) ++left;
        reports.push_back(std::move(report));
    }
    if (kinds.Has(TraceKind::Cookies))
        for (const std::string& host : UnmatchedKeepEntries(keep, reports))
            console.Err(L"kept site " + win::ToWide(host) + L": no cookie of any profile is kept for it");
    if (!options.quiet) {
        std::wstring summary = Plural(static_cast<long long>(profiles), L"browser profile", L"browser profiles");
        if (options.browsersClean && !options.dryRun)
            summary += L", " + std::to_wstring(profiles - left) + L" cleaned, " + std::to_wstring(left) + L" left";
        else if (options.dryRun)
            summary += L"; dry run, nothing changed";
        console.Err(summary);
    }
    return options.browsersClean && !options.dryRun && left > 0 ? kExitLeft : kExitOk;
}
