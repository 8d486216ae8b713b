#include "scan/Listing.h"

#include "item/CriticalFolders.h"
#include "item/FileInUse.h"
#include "item/Guards.h"
#include "item/ItemPath.h"
#include "item/RegistryRow.h"
#include "policy/Policies.h"

namespace {

// A folder among the user's own files is never one item: what a user keeps
// there would go with the junk whose name it shares.
bool LiesInUserContent(const std::wstring& path, bool canonical) {
    std::optional<CanonicalItem> item = canonical ? std::nullopt : CanonicalItemPath(path);
    std::wstring form = canonical ? path : item && item->exists ? item->path : NormaliseFolderPath(path);
    return MachineCriticalFolders().userContent.HoldsCanonical(form);
}

bool IsProtected(const std::wstring& path, bool canonical) {
    return canonical ? IsProtectedCanonical(path, MachineGuards().protectedFolders) : IsProtectedOnThisMachine(path);
}

}  // namespace

bool IsListable(const std::wstring& path, const WIN32_FIND_DATAW& findData, bool checked) {
    if (LooksLikeRegistryRow(path)) return true;  // a key a rule names: its guards are the registry's
    if (CurrentPolicies()->excluded.Covers(path)) return false;
    bool folder = IsFolderEntry(findData);
    if (folder) return !IsProtected(path, checked) && !LiesInUserContent(path, checked);
    return checked ? path.size() < MAX_PATH : !IsFileInUse(path);
}

void CListingFilter::AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) {
    HandOn(std::move(path), findData, false);
}

void CListingFilter::AddCheckedItem(std::wstring path, const WIN32_FIND_DATAW& findData) {
    HandOn(std::move(path), findData, true);
}

void CListingFilter::HandOn(std::wstring path, const WIN32_FIND_DATAW& findData, bool checked) {
    if (!IsListable(path, findData, checked)) return;
    ++m_count;
    m_next.AddFoundItem(std::move(path), findData);
}
