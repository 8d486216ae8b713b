#pragma once
// The Recycle Bin, reached through handles alone. An item goes in only as
// the very entry that was checked, beside a record that names its own path,
// so that a restore gives it back as it was. Nothing is ever deleted for good
// in its place: an item the bin cannot take stays where it is, told so.
//
// Two kinds of bin:
// - a Windows volume's bin folder ($Recycle.Bin\<SID>): the item is renamed
//   into it through its handle as "$R...", beside its "$I..." record;
// - the desktop trash that Wine's shell uses (files\ and info\, with a
//   ".trashinfo" record): a file gets a further name there before its own
//   name goes, and a folder is built again there entry by entry.
// Wine renames and links an entry by the path it keeps for the handle, not
// by the handle, so a racer who swaps a folder above the item could have a
// rename move something else. A further name is checked before the item's
// own name goes, and the removal of a name Wine itself checks against the
// entry, so under Wine nothing but the item ever leaves its place.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "clean/HeldEntry.h"

class IRecycleBin {
public:
    virtual ~IRecycleBin() = default;
    // Moves the held `item`, an entry of the held `folder` measured as
    // `amount`, into the bin. True when it went; otherwise it stays (a folder
    // perhaps in part), each reason told to the report.
    virtual bool Take(HeldEntry item, const HeldEntry& folder, const EntryAmount& amount,
                      const RemovalContext& removal) = 0;
};

// Which bin takes the items of a folder.
class IRecycleBins {
public:
    virtual ~IRecycleBins() = default;
    // The bin for the entries of the held `folder`; nothing when there is
    // none this program can hold.
    virtual std::unique_ptr<IRecycleBin> For(const HeldEntry& folder) const = 0;
};

// This machine's bins: the desktop trash under Wine, each volume's own
// bin folder for the running user on Windows.
const IRecycleBins& MachineRecycleBins();

// A Windows bin in the held folder `bin`.
std::unique_ptr<IRecycleBin> WindowsRecycleBin(HeldEntry bin);
// The desktop trash of the held folder `trash` (which holds files\ and
// info\); nothing when either cannot be held.
std::unique_ptr<IRecycleBin> DesktopTrash(const std::wstring& trashFolder);

// The "$I" record (version 2) of a Windows bin for the item at `path`,
// `bytes` large, deleted at `when`.
std::vector<BYTE> WindowsBinRecord(const std::wstring& path, ULONGLONG bytes, const FILETIME& when);
// What follows "$R" and "$I" in a Windows bin for an item named `name`: six
// random letters or digits and the name's own extension.
std::wstring WindowsBinSuffix(const std::wstring& name);

// The ".trashinfo" record of the desktop trash for the item at the host
// path `hostPath` (UTF-8), deleted at the local time `when`.
std::string TrashInfoRecord(const std::string& hostPath, const SYSTEMTIME& when);
// The names an item named `name` may take in the desktop trash, in turn.
std::wstring TrashName(const std::wstring& name, int attempt);
