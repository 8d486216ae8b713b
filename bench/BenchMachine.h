#pragma once
// A machine for the benchmarks: its Windows folder and the shell folders
// they name stand in one tree of their own, and it has no drives.
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "win/SystemInfo.h"

namespace bench {

class BenchMachine : public ISystemInfo {
public:
    // `shellFolders` maps a CSIDL to a folder below `tree`; the others are unknown.
    explicit BenchMachine(std::wstring tree, std::map<int, std::wstring> shellFolders = {})
        : m_tree(std::move(tree)), m_shellFolders(std::move(shellFolders)) {}
    std::wstring WindowsFolder() const override { return m_tree + L"\\Windows"; }
    std::optional<std::wstring> Environment(const std::wstring&) const override { return std::nullopt; }
    std::wstring SpecialFolder(int csidl) const override {
        auto found = m_shellFolders.find(csidl);
        return found == m_shellFolders.end() ? std::wstring() : m_tree + L"\\" + found->second;
    }
    DWORD LogicalDrives() const override { return 0; }

protected:
    std::wstring m_tree;

private:
    std::map<int, std::wstring> m_shellFolders;
};

}  // namespace bench
