#pragma once
// What the catalogue and the scans ask of the machine, behind one narrow seam
// so that tests can stand in another Windows folder, environment, drives and
// versions. The real answers come from the platform.
#include <windows.h>
#include <optional>
#include <string>

class ISystemInfo {
public:
    virtual ~ISystemInfo() = default;

    virtual std::wstring WindowsFolder() const;
    // The system folder (System32), where the programs the scans start live.
    virtual std::wstring SystemFolder() const;
    // The value of an environment variable, or nothing when it is not set.
    virtual std::optional<std::wstring> Environment(const std::wstring& name) const;
    // The path of a special folder (CSIDL), or "" when the shell has none.
    virtual std::wstring SpecialFolder(int csidl) const;
    virtual DWORD LogicalDrives() const { return ::GetLogicalDrives(); }
    virtual UINT DriveType(const std::wstring& root) const { return ::GetDriveTypeW(root.c_str()); }
    // The folder that is walked for a drive root: the root itself on a real
    // machine, any folder in a test.
    virtual std::wstring DriveRootFolder(const std::wstring& root) const { return root; }
    // True when the drive root ("D:\\") is the root of a volume; false for a
    // letter that stands for a folder (a subst, a mapped folder, a mount
    // point onto a folder) or that names nothing.
    virtual bool IsVolumeRoot(const std::wstring& root) const;
    // Volume and file-system names of a drive root; false when the call fails.
    virtual bool VolumeInformation(const std::wstring& root, std::wstring& volumeName,
                                   std::wstring& fileSystemName) const;
    virtual std::wstring UserName() const;
    // The GetVersion value (high bit set on the 9x family) and the major version.
    virtual DWORD PlatformVersion() const;
    virtual DWORD MajorVersion() const;
    // The Windows version as major << 8 | minor, as the system itself names
    // it: the answers above are what the platform tells a program without a
    // compatibility manifest (6.2 for any later Windows).
    virtual DWORD WindowsVersion() const;
    // Starts `program`, given by its full path and never looked for along a
    // search path, with `commandLine`, hidden and without waiting for it.
    virtual void RunHidden(const std::wstring& program, const std::wstring& commandLine) const;
};

// The machine itself.
const ISystemInfo& RealSystemInfo();
