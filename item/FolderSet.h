#pragma once
// Sets of folders compared by path text on the canonical form of an existing
// path: what the removal guards and the rules' bounds are made of.
#include <string>
#include <vector>

// A set of folders, each kept in canonical form where it exists and in its
// normalised form (NormaliseFolderPath) where it does not: folders that
// stand for themselves alone, and trees that stand for all they hold.
struct FolderSet {
    // A folder closed, itself and all it holds, but for the trees named
    // open in it: paths relative to it whose steps may hold '*' and '?'.
    struct Fence {
        std::wstring root;
        std::vector<std::wstring> open;
    };
    std::vector<std::wstring> paths;
    std::vector<std::wstring> trees;
    std::vector<Fence> fences;
    void Add(const std::wstring& path);
    void AddTree(const std::wstring& path);
    void AddFence(const std::wstring& root, const std::vector<std::wstring>& openRelative);
    void Merge(const FolderSet& other);
    // True when `path`, in any spelling, is one of the folders itself, lies
    // in one of the trees, or lies in a fence outside its open trees.
    bool Contains(const std::wstring& path) const;
    // The same for a path already in canonical form, by its text alone.
    bool ContainsCanonical(const std::wstring& canonicalPath) const;
    // True when the canonical path lies below one of the folders or trees,
    // not when it is one of them.
    bool HoldsCanonical(const std::wstring& canonicalPath) const;
    // True when the canonical path is one of the folders or lies in one of the trees, fences aside.
    bool ListsCanonical(const std::wstring& canonicalPath) const;
    // True when the canonical path is a fence's root or lies in it outside its open trees.
    bool FencedCanonical(const std::wstring& canonicalPath) const;
    // True when the canonical folder is a fence's root open below each of
    // its folders (an open tree's first step is a wildcard).
    bool OpenBelowEachFolder(const std::wstring& canonicalFolder) const;
    // True when one of the folders or trees, or a fence, lies below the
    // canonical folder: taking it whole would take them along.
    bool AnyBelowCanonical(const std::wstring& canonicalFolder) const;
};

// True when the canonical `path` lies below the canonical `folder`, in any letter case.
bool LiesBelow(const std::wstring& path, const std::wstring& folder);

// True for "X:\" and "\\server\share" in any spelling.
bool IsVolumeRoot(const std::wstring& normalisedPath);
