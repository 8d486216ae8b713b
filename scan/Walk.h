#pragma once
// The walk primitives every scan is built from. A walk looks at one level of
// one folder through the platform's directory search (its wildcard rules are
// the catalogue's) and hands each match to a sink. Nothing here changes or
// deletes anything, not even an attribute.
//
// Searches use absolute paths, never the process's current directory, and a
// folder that is not a full path ("null", "\Users\Default", "") is taken as
// missing: such a folder would otherwise resolve against whatever directory
// or drive happens to be current and list things from outside the target.
#include <string>

#include "catalog/BriskoDoc.h"
#include "scan/FoundItemSink.h"

// Hands on every entry of `folder` that matches `pattern`, but never "." or
// "..", nor an entry whose whole name is exactly `excluded` (case matters).
// The first entry of a search is handed on only if it is not a folder (it is
// the "." entry everywhere but in a drive root) and is never compared with
// the excluded name; later matching folders are handed on as whole items.
void WalkFolder(IFoundItemSink& sink, const std::wstring& pattern, const std::wstring& folder,
                const std::wstring& excluded = std::wstring());
void WalkSubfolder(IFoundItemSink& sink, const std::wstring& base, const std::wstring& relative,
                   const std::wstring& pattern, const std::wstring& excluded = std::wstring());
void WalkPatternList(IFoundItemSink& sink, const std::wstring& folder, const CTargetList& patterns);
void WalkTargetPairs(IFoundItemSink& sink, const std::wstring& base, const CTargetPairList& pairs);
void WalkSubfolderList(IFoundItemSink& sink, const std::wstring& base, const CTargetList& folders,
                       const std::wstring& pattern);

// Hands on folder\name as one whole item (file or folder) if it exists, with
// its path in canonical form ("." and ".." steps resolved). A trailing
// backslash of the name stays in the item's path.
void AddNamedItem(IFoundItemSink& sink, const std::wstring& folder, const std::wstring& name);
void AddNamedItemList(IFoundItemSink& sink, const std::wstring& folder, const CTargetList& names);
// Hands on the folder itself, path unchanged, as one whole item if it exists.
// A drive root is never one item.
void AddFolderItem(IFoundItemSink& sink, const std::wstring& folder);
