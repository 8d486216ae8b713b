#pragma once
// What a removal tells while it works, through one small interface: the
// window shows it in its status bar, the command line prints it.
#include <string>

#include "item/Guards.h"

// Why an item or an entry inside it stays where it is.
enum class LeftReason {
    Missing,       // gone since the scan
    Unresolvable,  // its spelling leads nowhere certain
    Link,          // a link, or reached through one, or a folder that holds one
    Protected,     // a drive root, the Windows folder, a profile or shell folder
    InUse,         // held by another process
    AccessDenied,  // the system denies this program its removal
    Failed,        // the platform refused
    OddName,       // a device name, or one ending in a dot or a blank: no plain path reaches it
    Excluded,      // a policy keeps it, or something inside it
    RecycleRefused,  // the Recycle Bin could not take it: nothing is ever deleted for good instead
    NotEmpty,        // a folder still holding files: removals still pending, or files added meanwhile
};

// The words for a reason, as the command line prints them.
const wchar_t* LeftReasonText(LeftReason reason);

class IRemovalReport {
public:
    virtual ~IRemovalReport() = default;
    // Just before a file or folder is handed to the platform for removal.
    virtual void Removing(const std::wstring& path) = 0;
    // The same for an entry measured before it was handed over (a tree that
    // goes whole, an entry renamed on its way): its files and their bytes.
    virtual void RemovingMeasured(const std::wstring& path, size_t files, unsigned long long bytes) { Removing(path); }
    // An item, or an entry of a folder item, that stays.
    virtual void Left(const std::wstring& path, LeftReason reason) = 0;
    // An item that stays on purpose, cleaned inside instead of removed (a
    // cookie database around the kept sites' cookies); `note` says how.
    virtual void Cleaned(const std::wstring& path, const std::wstring& note) {}
};

// A report that tells everything on to another; those that count or sift
// what stays override Left.
class CForwardingReport : public IRemovalReport {
public:
    explicit CForwardingReport(IRemovalReport& next) : m_next(next) {}
    void Removing(const std::wstring& path) override { m_next.Removing(path); }
    void RemovingMeasured(const std::wstring& path, size_t files, unsigned long long bytes) override {
        m_next.RemovingMeasured(path, files, bytes);
    }
    void Cleaned(const std::wstring& path, const std::wstring& note) override { m_next.Cleaned(path, note); }
    void Left(const std::wstring& path, LeftReason reason) override { m_next.Left(path, reason); }

protected:
    IRemovalReport& m_next;
};

// A report that tells nobody.
IRemovalReport& SilentReport();

class IRecycleBins;

// How a removal runs: the guards it keeps, the report it tells and the
// Recycle Bins it moves to (this machine's when none is given).
struct RemovalContext {
    const RemovalGuards& guards;
    IRemovalReport& report;
    const IRecycleBins* bins = nullptr;
};
// This machine's guards, telling nobody.
const RemovalContext& MachineRemoval();
