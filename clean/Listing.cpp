#include "clean/Listing.h"

#include "clean/DeleteItem.h"
#include "clean/Guards.h"
#include "policy/Policies.h"

bool IsListable(const std::wstring& path, const WIN32_FIND_DATAW& findData) {
    if (CurrentPolicies()->excluded.Covers(path)) return false;
    bool folder = (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return folder ? !IsProtectedOnThisMachine(path) : !IsFileInUse(path);
}

void CListingFilter::AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) {
    if (!IsListable(path, findData)) return;
    ++m_count;
    m_next.AddFoundItem(std::move(path), findData);
}
