#include "clean/CleanJob.h"

#include <set>

#include "clean/DeleteItem.h"
#include "policy/PolicyGuards.h"
#include "item/ItemPath.h"
#include "item/RegistryRow.h"
#include "win/Log.h"
#include "win/Path.h"

namespace {

// The spelling that reaches an entry whatever its name: the "\\?\" form
// takes a name as it stands, with no device or trailing dot rules.
std::wstring LiteralPath(const std::wstring& path) {
    std::wstring plain = WithoutLongPrefix(path);
    return plain.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + plain.substr(2) : L"\\\\?\\" + plain;
}

// Why an entry stays, told truly: a name that no plain path reaches fails
// every test by path, which then takes it for a link or an unresolvable
// spelling although it is an ordinary file or folder.
LeftReason TrueReason(const std::wstring& path, LeftReason reason) {
    if (reason != LeftReason::Link && reason != LeftReason::Unresolvable) return reason;
    if (!IsNameNoPathReaches(path.substr(path.rfind(L'\\') + 1))) return reason;
    DWORD attributes = ::GetFileAttributesW(LiteralPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return reason;
    return LeftReason::OddName;
}

// What one row's removal tells: each entry that stays once, by its true
// reason.
class CRowReport : public CForwardingReport {
public:
    using CForwardingReport::CForwardingReport;
    void Left(const std::wstring& path, LeftReason reason) override {
        std::wstring key = path;
        ::CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
        if (m_told.insert(key).second) m_next.Left(path, TrueReason(path, reason));
    }

private:
    std::set<std::wstring> m_told;
};

}  // namespace

void RemoveRowItem(const std::wstring& path, bool permanent) { RemoveRowItem(path, permanent, MachineRemoval()); }

void RemoveRowItem(const std::wstring& path, bool permanent, const RemovalContext& removal) {
    CRowReport report(removal.report);
    RemovalContext row{removal.guards, report, removal.bins};
    DeleteFoundItem(path, permanent, row);
}

void RemoveRowItem(const std::wstring& path, bool permanent, const RemovalContext& removal, CRemovalSession& session) {
    if (!permanent) return RemoveRowItem(path, permanent, removal);
    CRowReport report(removal.report);
    session.RemovePermanently(path, RemovalContext{removal.guards, report, removal.bins});
}

void RunCleanJob(ICleanRows& rows, ICleanProgress& progress, bool permanent, const ItemRemover& remove,
                 const std::atomic<bool>& stop, CRemovalTally* tally) {
    const int startCount = rows.SelectedCount();
    // From the end, so that dropping a finished row keeps the index of every
    // row still to come.
    for (int row = rows.Count() - 1; row >= 0 && !stop; --row) {
        CleanRow current = rows.Row(row);
        if (!current.selected) continue;  // unselected meanwhile: skipped
        progress.Starting(row, current.path);
        if (tally) tally->Start();
        try {
            remove(current.path, permanent);
        } catch (...) {
            // A failed removal never stops the clean; its item counts as left.
            win::LogCaughtException(L"removal of a row");
            if (tally) tally->Left(current.path, LeftReason::Failed);
        }
        if (tally) progress.Outcome(row, tally->Finish());
        progress.Finished(row, startCount);
    }
    progress.Done();
}

void RunGuardedClean(ICleanRows& rows, const CleanHow& how, ICleanProgress& progress, const std::atomic<bool>& stop) {
    CRemovalTally tally(how.report ? *how.report : SilentReport());
    RemovalGuards guards = GuardsUnderPolicy();
    RemovalContext removal{guards, tally};
    CRemovalSession session;
    ItemRemover remove = how.remove;
    if (!remove)
        remove = [&removal, &session, &how, &tally](const std::wstring& path, bool permanent) {
            if (how.cleanInstead && how.cleanInstead(path, tally)) return;
            // A registry row no one took is no file: it stays.
            if (LooksLikeRegistryRow(path)) return tally.Left(path, LeftReason::Failed);
            RemoveRowItem(path, permanent, removal, session);
        };
    RunCleanJob(rows, progress, how.permanent, remove, stop, &tally);
}
