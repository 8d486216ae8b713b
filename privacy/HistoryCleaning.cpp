#include "privacy/HistoryCleaning.h"

#include <utility>

#include "clean/UrlCache.h"
#include "privacy/UrlHistoryStore.h"
#include "scan/Walk.h"

namespace {

constexpr int kCsidlHistory = 34;
constexpr int kCsidlRecent = 8;

std::wstring WithBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

// The user's History folder as one item, or the Windows folder's one.
void AddHistoryFolder(const CHistoryCleaning& run) {
    std::wstring history = run.doc.System().SpecialFolder(kCsidlHistory);
    if (!history.empty())
        AddFolderItem(run.sink, WithBackslash(history));
    else
        AddNamedItem(run.sink, run.doc.m_szWindowsDir, L"History\\");
}

// The browsers' history files, one counter step per walk.
void WalkBrowserHistories(const CHistoryCleaning& run) {
    const CBriskoDoc& doc = run.doc;
    WalkFolder(run.sink, L"netscape.hst", doc.m_strMozillaProfile);
    run.progress.Advance(1);
    WalkSubfolder(run.sink, doc.m_szNetscapeDir, L"Users\\Default", L"netscape.hst");
    run.progress.Advance(1);
    WalkFolder(run.sink, L"history.*", doc.m_strFirefoxProfile);
    run.progress.Advance(1);
    WalkFolder(run.sink, L"History.*", doc.m_strChromeProfile);
    run.progress.Advance(1);
    WalkFolder(run.sink, L"Archived History.*", doc.m_strChromeProfile);
    run.progress.Advance(1);
}

}  // namespace

void CleanUrlHistory(const CHistoryCleaning& run) {
    AddHistoryFolder(run);
    run.progress.Advance(1);
    WalkBrowserHistories(run);
    ClearUrlHistoryStore();  // a store that cannot be created or cleared is passed over
    ClearUrlCache();
    run.progress.Advance(10);
}

void CleanAutoComplete(const CHistoryCleaning& run) {
    WalkFolder(run.sink, L"formhistory.*", run.doc.m_strFirefoxProfile);
    run.progress.Advance(1);
    WalkFolder(run.sink, L"signons*.txt", run.doc.m_strFirefoxProfile);
    run.progress.Advance(1);
    DeleteUserKey(run.keyBase, run.doc.m_strIntelliFormsKey);
    run.progress.Advance(1);
}

void CleanRunHistory(const CHistoryCleaning& run) {
    DeleteRegistryTree(run.doc.m_listRunHistoryKeys, run.keyBase, run.progress);
}

void CleanFindHistory(const CHistoryCleaning& run) {
    WalkSubfolder(run.sink, run.doc.m_szAppData, L"Google\\Local Search History", run.doc.m_strAllFiles);
    run.progress.Advance(1);
    DeleteRegistryTree(run.doc.m_listFindHistoryKeys, run.keyBase, run.progress);
}

void CleanTypedUrl(const CHistoryCleaning& run) {
    DeleteUserKey(run.keyBase, run.doc.m_strTypedURLsKey);
    run.progress.Advance(1);
}

void CleanRecentDocuments(const CHistoryCleaning& run) {
    std::wstring recent = run.doc.System().SpecialFolder(kCsidlRecent);
    if (!recent.empty()) AddFolderItem(run.sink, recent);
    run.progress.Advance(1);
    // Office's Recent folder as one item. A walk with the pattern "Recent"
    // would meet that folder as its first entry, which a walk never hands on.
    AddNamedItem(run.sink, run.doc.m_szOfficeDir, L"Recent");
    run.progress.Advance(1);
    AddNamedItem(run.sink, run.doc.m_szAppData, L"Microsoft\\Office\\Recent");
    run.progress.Advance(1);
    DeleteRegistryTree(run.doc.m_listRecentDocKeys, run.keyBase, run.progress);
}

void RunHistoryCleaning(const CHistoryCleaning& run, const CHistoryOptions& options) {
    const std::pair<bool, void (*)(const CHistoryCleaning&)> routines[] = {
        {options.urlHistory, &CleanUrlHistory},   {options.autoComplete, &CleanAutoComplete},
        {options.runHistory, &CleanRunHistory},   {options.findHistory, &CleanFindHistory},
        {options.typedUrl, &CleanTypedUrl},       {options.recentDocuments, &CleanRecentDocuments},
    };
    for (const auto& [chosen, routine] : routines) {
        if (run.stop && *run.stop) return;  // after the routine in hand
        if (chosen) routine(run);
    }
}

int HistoryCleaningSteps(const CBriskoDoc& doc, const CHistoryOptions& options) {
    auto count = [](const CTargetList& keys) { return static_cast<int>(keys.size()); };
    return (options.urlHistory ? 16 : 0) + (options.autoComplete ? 3 : 0) +
           (options.runHistory ? count(doc.m_listRunHistoryKeys) : 0) +
           (options.findHistory ? 1 + count(doc.m_listFindHistoryKeys) : 0) + (options.typedUrl ? 1 : 0) +
           (options.recentDocuments ? 3 + count(doc.m_listRecentDocKeys) : 0);
}
