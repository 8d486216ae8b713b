#include "item/FolderSet.h"

#include "item/ItemPath.h"
#include "win/Text.h"

namespace {

// The canonical form of an existing path, the normalised text of any other.
std::wstring ComparableForm(const std::wstring& path) {
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    return item && item->exists ? item->path : NormaliseFolderPath(path);
}

// The steps of a relative path, without empty ones.
std::vector<std::wstring> StepsOf(const std::wstring& relative) {
    std::vector<std::wstring> steps;
    for (size_t start = 0; start <= relative.size();) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos) end = relative.size();
        if (end > start) steps.push_back(relative.substr(start, end - start));
        start = end + 1;
    }
    return steps;
}

// True when `steps` begin with the steps of `tree`, each matched as a pattern.
bool LeadsInto(const std::vector<std::wstring>& steps, const std::vector<std::wstring>& tree) {
    if (steps.size() < tree.size()) return false;
    for (size_t i = 0; i < tree.size(); ++i)
        if (!win::WildcardMatch(tree[i], steps[i])) return false;
    return true;
}

}  // namespace

void FolderSet::Add(const std::wstring& path) {
    if (path.empty()) return;
    std::wstring form = ComparableForm(path);
    if (!form.empty()) paths.push_back(form);
}

void FolderSet::AddTree(const std::wstring& path) {
    if (path.empty()) return;
    std::wstring form = ComparableForm(path);
    if (!form.empty()) trees.push_back(form);
}

void FolderSet::AddFence(const std::wstring& root, const std::vector<std::wstring>& openRelative) {
    if (root.empty()) return;
    fences.push_back({ComparableForm(root), openRelative});
}

void FolderSet::Merge(const FolderSet& other) {
    paths.insert(paths.end(), other.paths.begin(), other.paths.end());
    trees.insert(trees.end(), other.trees.begin(), other.trees.end());
    fences.insert(fences.end(), other.fences.begin(), other.fences.end());
}

bool FolderSet::Contains(const std::wstring& path) const { return ContainsCanonical(ComparableForm(path)); }

bool FolderSet::ContainsCanonical(const std::wstring& canonicalPath) const {
    return ListsCanonical(canonicalPath) || FencedCanonical(canonicalPath);
}

bool FolderSet::ListsCanonical(const std::wstring& canonicalPath) const {
    for (const std::wstring& folder : paths)
        if (win::EqualNoCase(canonicalPath, folder)) return true;
    for (const std::wstring& tree : trees)
        if (win::EqualNoCase(canonicalPath, tree) || LiesBelow(canonicalPath, tree)) return true;
    return false;
}

bool FolderSet::FencedCanonical(const std::wstring& canonicalPath) const {
    for (const Fence& fence : fences) {
        if (win::EqualNoCase(canonicalPath, fence.root)) return true;
        if (!LiesBelow(canonicalPath, fence.root)) continue;
        std::vector<std::wstring> steps = StepsOf(canonicalPath.substr(fence.root.size()));
        bool open = false;
        for (const std::wstring& tree : fence.open) open = open || LeadsInto(steps, StepsOf(tree));
        if (!open) return true;
    }
    return false;
}

bool FolderSet::OpenBelowEachFolder(const std::wstring& canonicalFolder) const {
    for (const Fence& fence : fences)
        if (win::EqualNoCase(canonicalFolder, fence.root))
            for (const std::wstring& tree : fence.open)
                if (StepsOf(tree)[0].find_first_of(L"*?") != std::wstring::npos) return true;
    return false;
}

bool FolderSet::AnyBelowCanonical(const std::wstring& canonicalFolder) const {
    for (const std::vector<std::wstring>* list : {&paths, &trees})
        for (const std::wstring& folder : *list)
            if (LiesBelow(folder, canonicalFolder)) return true;
    for (const Fence& fence : fences)
        if (win::EqualNoCase(fence.root, canonicalFolder) || LiesBelow(fence.root, canonicalFolder)) return true;
    return false;
}

bool FolderSet::HoldsCanonical(const std::wstring& canonicalPath) const {
    for (const std::vector<std::wstring>* list : {&paths, &trees})
        for (const std::wstring& folder : *list)
            if (LiesBelow(canonicalPath, folder)) return true;
    return false;
}

bool LiesBelow(const std::wstring& path, const std::wstring& folder) {
    if (folder.empty()) return false;
    size_t length = folder.back() == L'\\' ? folder.size() : folder.size() + 1;  // "X:\" ends in its backslash
    return path.size() > length && path[length - 1] == L'\\' &&
           ::CompareStringOrdinal(path.c_str(), static_cast<int>(length - 1), folder.c_str(),
                                  static_cast<int>(length - 1), TRUE) == CSTR_EQUAL;
}

bool IsVolumeRoot(const std::wstring& normalised) {
    if (normalised.size() == 3 && normalised[1] == L':' && normalised[2] == L'\\') return true;
    if (normalised.rfind(L"\\\\", 0) == 0) {
        // "\\server\share": at most one more backslash after the server name.
        size_t server = normalised.find(L'\\', 2);
        return server == std::wstring::npos || normalised.find(L'\\', server + 1) == std::wstring::npos;
    }
    return false;
}
