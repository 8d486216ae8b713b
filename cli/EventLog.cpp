#include "cli/EventLog.h"

#include "cli/Output.h"
#include "events.h"

namespace {

class CApplicationLog : public IEventLog {
public:
    bool Write(WORD type, DWORD eventId, const std::vector<std::wstring>& strings) override {
        // An unregistered source still writes: the log then shows the strings alone.
        HANDLE source = ::RegisterEventSourceW(nullptr, kEventSource);
        if (!source) return false;
        std::vector<LPCWSTR> pointers;
        for (const std::wstring& text : strings) pointers.push_back(text.c_str());
        BOOL written = ::ReportEventW(source, type, 0, eventId, nullptr, static_cast<WORD>(pointers.size()), 0,
                                      pointers.data(), nullptr);
        ::DeregisterEventSource(source);
        return written != FALSE;
    }
};

std::wstring Items(const Tally& tally) { return SummaryText(tally.items, tally.bytes); }

}  // namespace

IEventLog& ApplicationEventLog() {
    static CApplicationLog log;
    return log;
}

std::vector<std::wstring> CleanEventStrings(const CleanRecord& s, const std::wstring& reportPath) {
    std::wstring how = s.dryRun ? L"a dry run, nothing removed" : s.permanent ? L"for good" : L"to the Recycle Bin";
    return {
        L"Mode: " + s.mode + L", " + how + L"; by " + s.user + L" on " + s.machine,
        L"Found: " + Items(s.found) + L"; removed: " + Items(s.removed) + L"; emptied: " + Items(s.emptied) +
            L"; partly removed: " + Items(s.partly) + L"; left: " + Items(s.left) + L"; gone: " + Items(s.gone),
        L"Rules file: " + (s.rulesFile.empty() ? std::wstring(L"none") : s.rulesFile),
        L"Report: " + (reportPath.empty() ? std::wstring(L"none") : reportPath),
    };
}

bool LogClean(IEventLog& log, const CleanRecord& record, const std::wstring& reportPath) {
    bool allWent = !record.SomethingStayed();
    return log.Write(allWent ? EVENTLOG_INFORMATION_TYPE : EVENTLOG_WARNING_TYPE,
                     allWent ? MSG_CLEAN_DONE : MSG_CLEAN_ITEMS_LEFT, CleanEventStrings(record, reportPath));
}
