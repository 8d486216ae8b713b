#include "item/Links.h"

#include <vector>

#include "item/Guards.h"
#include "win/Handle.h"

std::wstring FinalPathOf(const std::wstring& canonicalPath) {
    win::FileHandle entry(::CreateFileW(ApiPath(canonicalPath).c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                        nullptr));
    return entry ? FinalPathOfHandle(entry.Get()) : std::wstring();
}

bool IsLinkEntry(const std::wstring& folder, const std::wstring& folderFinalPath, const WIN32_FIND_DATAW& find) {
    if (find.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
    if (folderFinalPath.empty()) return true;
    std::wstring entryFinal = FinalPathOf(JoinPath(folder, find.cFileName));
    return entryFinal.empty() || FinalPathShowsLink(folderFinalPath, find.cFileName, entryFinal);
}

bool IsLinkOrBehindLink(const CanonicalItem& item) {
    if (!item.exists) return false;
    if ((item.attributes & FILE_ATTRIBUTE_REPARSE_POINT) || item.viaReparse) return true;
    std::wstring final = FinalPathOf(item.path);
    return final.empty() || !SamePathText(final, item.path);
}

bool IsLinkPath(const std::wstring& path) {
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    return !item || IsLinkOrBehindLink(*item);
}
