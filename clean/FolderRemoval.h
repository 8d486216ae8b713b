#pragma once
// The program's own removal of what a folder holds, through handles: each
// folder is opened once, listed through its handle, and every entry is
// opened relative to it, judged and removed through its own handle. It never
// follows a link: links stay, and so do files in use and the folders that
// still hold either. Protected folders are never entered, system folders
// never removed.
#include <string>

#include "clean/HeldEntry.h"
#include "clean/RemovalReport.h"

// Passes on what a removal tells, counting what stays: a folder whose walk
// left nothing behind and that stays all the same must say why itself.
class CLeftCounter : public CForwardingReport {
public:
    using CForwardingReport::CForwardingReport;
    void Left(const std::wstring& path, LeftReason reason) override {
        ++m_left;
        m_next.Left(path, reason);
    }
    size_t LeftSoFar() const { return m_left; }

private:
    size_t m_left = 0;
};

// Removes what it can below `folder` (any spelling); the folder itself
// stays. Always true.
bool RemoveFolderContents(const std::wstring& folder, const RemovalContext& removal = MachineRemoval());

// RemoveFolderContents, then the folder itself when nothing is left in it
// and it is no system folder. True when the folder is gone.
bool RemoveFolderTree(const std::wstring& folder, const RemovalContext& removal = MachineRemoval());

// The same two for a folder already held.
void RemoveHeldContents(HeldEntry& folder, const RemovalContext& removal);
bool RemoveHeldTree(HeldEntry folder, const RemovalContext& removal);

// Removes a folder that a walk has emptied as far as it could, when it is no
// kept folder. True when it went. With `tellWhyNot`, a folder that stays is
// told to the report with its reason (set it when nothing inside was told to
// stay: then the folder's own removal is what failed, most often because
// files in it are still going, held by others, or were added meanwhile).
bool RemoveEmptiedFolder(const HeldEntry& folder, const RemovalContext& removal, bool tellWhyNot);

// What a walk that empties a folder does with one held entry of it: a file
// to take, a folder to enter, or an entry that stays, told why (a policy
// keeps it, or it is a protected folder).
enum class WalkStep { Stays, TakeFile, EnterFolder };
WalkStep StepFor(const HeldEntry& child, const RemovalContext& removal);

// Removes one held file for good, clearing its read-only attribute first
// (and giving it back when the removal fails).
bool RemoveHeldFile(HeldEntry file, const RemovalContext& removal);
