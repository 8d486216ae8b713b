#pragma once
// A machine whose Windows folder, environment, special folders and drives a
// test sets, usually to folders of a scratch tree; and a receiver that
// records what the walks hand in.
#include <windows.h>
#include <shlobj.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "win/SystemInfo.h"
#include "scan/FoundItemSink.h"

namespace testing_support {

class FakeMachine : public ISystemInfo {
public:
    struct Drive {
        UINT type = DRIVE_FIXED;
        std::optional<std::wstring> fileSystem;  // none: the volume does not answer
        std::wstring folder;                     // what stands for the root
        bool volumeRoot = true;                  // false: a letter that stands for a folder
    };

    std::wstring windows = L"C:\\windows";
    std::map<std::wstring, std::wstring> environment;
    std::map<int, std::wstring> folders;
    std::map<wchar_t, Drive> drives;
    std::wstring user = L"u";
    DWORD majorVersion = 6;
    bool nineX = false;
    mutable std::vector<std::wstring> commands;

    std::wstring WindowsFolder() const override { return windows; }
    std::optional<std::wstring> Environment(const std::wstring& name) const override {
        auto it = environment.find(name);
        if (it == environment.end()) return std::nullopt;
        return it->second;
    }
    std::wstring SpecialFolder(int csidl) const override {
        auto it = folders.find(csidl);
        return it == folders.end() ? L"" : it->second;
    }
    DWORD LogicalDrives() const override {
        DWORD mask = 0;
        for (const auto& [letter, drive] : drives) mask |= 1u << (letter - L'A');
        return mask;
    }
    UINT DriveType(const std::wstring& root) const override {
        auto it = drives.find(root[0]);
        return it == drives.end() ? DRIVE_NO_ROOT_DIR : it->second.type;
    }
    std::wstring DriveRootFolder(const std::wstring& root) const override {
        auto it = drives.find(root[0]);
        return it == drives.end() ? root : it->second.folder;
    }
    bool IsVolumeRoot(const std::wstring& root) const override {
        auto it = drives.find(root[0]);
        return it != drives.end() && it->second.volumeRoot;
    }
    bool VolumeInformation(const std::wstring& root, std::wstring& volumeName,
                           std::wstring& fileSystemName) const override {
        auto it = drives.find(root[0]);
        if (it == drives.end() || !it->second.fileSystem) return false;
        volumeName = L"Volume";
        fileSystemName = *it->second.fileSystem;
        return true;
    }
    std::wstring UserName() const override { return user; }
    DWORD PlatformVersion() const override { return (majorVersion & 0xFF) | (nineX ? 0x80000000u : 0u); }
    DWORD MajorVersion() const override { return majorVersion; }
    DWORD WindowsVersion() const override { return majorVersion << 8; }
    std::wstring SystemFolder() const override { return windows + L"\\system32"; }
    // The program's full path, a bar, and the command line.
    void RunHidden(const std::wstring& program, const std::wstring& commandLine) const override {
        commands.push_back(program + L"|" + commandLine);
    }
};

// Records every item handed in, in order.
class RecordingSink : public IFoundItemSink {
public:
    struct Item {
        std::wstring path;
        WIN32_FIND_DATAW record;
    };
    std::vector<Item> items;

    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
        items.push_back({std::move(path), findData});
    }
    std::vector<std::wstring> Paths() const {
        std::vector<std::wstring> paths;
        for (const Item& item : items) paths.push_back(item.path);
        return paths;
    }
    const Item* Find(const std::wstring& path) const {
        for (const Item& item : items)
            if (item.path == path) return &item;
        return nullptr;
    }
};

// A machine whose Windows folder and local application data lie in `root`.
inline FakeMachine MachineWithin(const std::wstring& root) {
    FakeMachine machine;
    machine.windows = root + L"\\Windows";
    machine.folders = {{CSIDL_LOCAL_APPDATA, root + L"\\Local"}};
    return machine;
}

}  // namespace testing_support
