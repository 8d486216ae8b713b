#pragma once
// Files and folders reached through handles, never by resolving a path
// again: a folder is opened once without following a link, its entries are
// listed through that handle and opened relative to it, and each is judged
// and removed through its own handle. What is removed is exactly what was
// looked at, however the names around it change meanwhile.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/Handle.h"
#include "win/HandleNames.h"

// What a handle tells of its entry.
struct EntryFacts {
    DWORD attributes = 0;
    DWORD reparseTag = 0;
    DWORD volumeSerial = 0;
    ULONGLONG fileId = 0;
    DWORD links = 0;  // the number of names the file has

    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsReparsePoint() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || reparseTag != 0; }
    bool SameEntryAs(const EntryFacts& other) const {
        return volumeSerial == other.volumeSerial && fileId == other.fileId;
    }
};

// Why an entry could not be opened.
enum class OpenFailure { None, Missing, InUse, AccessDenied, Link, Other };

struct OpenedEntry {
    win::FileHandle handle;
    OpenFailure failure = OpenFailure::None;
    explicit operator bool() const { return handle.IsValid(); }
};

// The access a removal needs: to judge, list, clear read-only and remove.
constexpr ACCESS_MASK kRemovalAccess =
    DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE;

// Opens the entry at a canonical full path without following a link of its
// last step. Others' access is shared, but asking for DELETE fails as in
// use while another process holds the file without sharing its removal.
OpenedEntry OpenEntryAt(const std::wstring& canonicalPath, ACCESS_MASK access);

// Opens the entry at a canonical full path one step at a time from its
// volume's root: each step relative to the folder before it, and checked
// against that folder's own record of the name. A folder on the way that is
// a link, or an entry that is not the one its folder records (a name swapped
// meanwhile), ends the walk as a link. Under Wine only this is sure: a
// relative open and a folder's records go by the folder's open handle, while
// anything by path resolves the whole path anew, through whatever a racer
// has swapped in above the item since.
OpenedEntry OpenEntryFromRoot(const std::wstring& canonicalPath, ACCESS_MASK access);

// Opens the entry `name` of the open folder, relative to that handle and
// without following a link.
OpenedEntry OpenChild(HANDLE folder, const std::wstring& name, ACCESS_MASK access);
// The same for a file that is only to be removed: no folder opens this way,
// and nothing but its removal is asked.
OpenedEntry OpenChildFileToRemove(HANDLE folder, const std::wstring& name);

// The facts of an open entry but its volume; false when the platform tells
// none. Each comes from the handle alone, never from its path: under Wine a
// query through the path costs a walk of every folder above it.
bool ReadFacts(HANDLE entry, EntryFacts& facts);
// The serial number of the volume the open entry lies on; 0 when unknown.
DWORD ReadVolumeSerial(HANDLE entry);

struct ChildEntry {
    std::wstring name;
    DWORD attributes = 0;
    ULONGLONG fileId = 0;  // as listed: an entry opened later must still be this one
    ULONGLONG size = 0;  // of a file
    // The name as the folder's listing gave it, letter case and all; a
    // name spelled by a row may differ in case from the one on disk.
    bool nameAsListed = true;
};

// Every entry of the open folder but "." and "..", read in full before any
// is touched.
std::vector<ChildEntry> ListChildren(HANDLE folder);
// The same, each entry handed to `visit` as it is read: nothing is kept.
void VisitChildren(HANDLE folder, const std::function<void(const ChildEntry&)>& visit);

// Marks the open entry for removal; it goes when its last handle closes
// (at once with the system's POSIX removal, where there is one). A folder
// must be empty by then.
bool RemoveThroughHandle(HANDLE entry);
// Told of each entry RemoveThroughHandle is about to mark, with its handle;
// nobody by default. What a test holds the platform's removals against:
// under Wine the server takes the entry by the path it keeps for it.
using RemovalWitness = std::function<void(HANDLE entry)>;
void SetRemovalWitness(RemovalWitness witness);

// Removes the read-only attribute through the handle, so that the removal
// may go on; false when it could not.
bool ClearReadOnlyThroughHandle(HANDLE entry, DWORD attributes);
// Gives the attributes back after a removal that did not happen.
void RestoreAttributes(HANDLE entry, DWORD attributes);

// Creates the entry `name` new in the open folder, relative to its handle:
// a file to write (and remove again) or a folder to fill. Anything already
// standing under the name, a link included, makes it fail: nothing is ever
// written through a name that was there before.
OpenedEntry CreateChildFile(HANDLE folder, const std::wstring& name);
OpenedEntry CreateChildFolder(HANDLE folder, const std::wstring& name);

// Gives the open file a further name `name` in the open `folder`; false when
// the name is taken or the platform refuses (another volume, a folder).
bool LinkInto(HANDLE entry, HANDLE folder, const std::wstring& name);
// Moves the open entry to `name` in the open `folder`; false when the name
// is taken or the platform refuses (another volume).
bool MoveInto(HANDLE entry, HANDLE folder, const std::wstring& name);

// Renames the open file to the full path `fullPath`, replacing what stands
// there (a link there is replaced itself, never what it points to); false
// when the platform refuses.
bool ReplaceByRename(HANDLE entry, const std::wstring& fullPath);

// Renames the open entry to `newName` inside the open `folder`, relative to
// its handle so that the name cannot land in another folder. Where the
// platform refuses that (Wine, beyond the plain path length), the folder's
// canonical path `folderPath` is taken instead, and the caller must check
// where the entry went. False when the name is taken or the platform refuses.
bool RenameWithinFolder(HANDLE entry, HANDLE folder, const std::wstring& folderPath, const std::wstring& newName);
