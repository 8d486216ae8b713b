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
bool LiesInUserContent(const std::wstring& path) {
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    std::wstring form = item && item->exists ? item->path : NormaliseFolderPath(path);
    return MachineCriticalFolders().userContent.HoldsCanonical(form);
}

}  // namespace

bool IsListable(const std::wstring& path, const WIN32_FIND_DATAW& findData) {
    if (LooksLikeRegistryRow(path)) return true;  // a key a rule names: its guards are the registry's
    if (CurrentPolicies()->excluded.Covers(path)) return false;
    bool folder = IsFolderEntry(findData);
    return folder ? !IsProtectedOnThisMachine(path) && !LiesInUserContent(path) : !IsFileInUse(path);
}

void CListingFilter::AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) {
    if (!IsListable(path, findData)) return;
    ++m_count;
    m_next.AddFoundItem(std::move(path), findData);
}
