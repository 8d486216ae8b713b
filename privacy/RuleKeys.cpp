#include "privacy/RuleKeys.h"

#include "item/RegistryRow.h"
#include "privacy/UserKeys.h"
#include "win/Registry.h"

namespace {

void CleanKey(const std::wstring& row, HKEY root, const std::wstring& key, IRemovalReport& report) {
    if (!win::RegistryKey::Open(root, key)) return report.Left(row, LeftReason::Missing);
    report.Removing(row);
    if (!DeleteKeyTree(root, L"", key))
        report.Left(row, win::RegistryKeyExists(root, key) ? LeftReason::AccessDenied : LeftReason::Missing);
}

void CleanValue(const std::wstring& row, HKEY root, const std::wstring& key, const std::wstring& value,
                IRemovalReport& report) {
    win::RegistryKey opened = win::RegistryKey::Open(root, key, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!opened) {
        bool there = win::RegistryKey::Open(root, key).HasValue(value);
        return report.Left(row, there ? LeftReason::AccessDenied : LeftReason::Missing);
    }
    if (!opened.HasValue(value)) return report.Left(row, LeftReason::Missing);
    report.Removing(row);
    if (!opened.DeleteValue(value)) report.Left(row, LeftReason::AccessDenied);
}

}  // namespace

bool CleanRegistryRuleRow(const std::wstring& row, bool permanent, IRemovalReport& report) {
    if (!LooksLikeRegistryRow(row)) return false;
    if (!permanent) {
        report.Left(row, LeftReason::RecycleRefused);
        return true;
    }
    // The row is checked again as its rule line was: a list may be stale or made up.
    std::optional<RegistryRow> parsed = ParseRegistryRow(row);
    const std::wstring key = parsed ? UserKeyPath(L"", parsed->Key()) : std::wstring();
    if (!parsed || !RegistryRowRefusal(*parsed).empty() || key.empty()) {
        report.Left(row, LeftReason::Protected);
        return true;
    }
    if (parsed->wholeKey)
        CleanKey(row, parsed->root, key, report);
    else
        CleanValue(row, parsed->root, key, parsed->value, report);
    return true;
}
