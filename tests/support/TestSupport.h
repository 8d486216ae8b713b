#pragma once
// Shared helpers of the test programs: scratch folders inside the throwaway
// prefix, files, and other processes.
#include <windows.h>
#include <string>
#include <vector>

#include "win/Path.h"

namespace testing_support {

// The folder of the running test program (C:\brisko-test inside the prefix).
using ::ProgramFolder;
// The path of a program copied beside the test program (brisko.exe, helpers).
std::wstring SiblingProgram(const std::wstring& fileName);

// A fresh folder below C:\brisko-test\scratch, removed with all it holds at
// the end of its scope. The removal never follows a link.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name = L"t");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& relative) const { return m_path + L"\\" + relative; }

private:
    std::wstring m_path;
};

// Removes a tree without following links (a link itself is only unlinked
// when it is a plain file or directory entry of the tree).
void RemoveTree(const std::wstring& path);

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
void WriteTextFile(const std::wstring& path, const std::wstring& text);  // UTF-16 with BOM
std::string ReadFileBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
void MakeFolders(const std::wstring& path);  // every missing level

// A started process; killed and closed at the end of its scope if still running.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ~ChildProcess();
    bool Start(const std::wstring& program, const std::wstring& arguments);
    // Waits for the end; returns the exit code, or -1 on time-out.
    long Wait(DWORD milliseconds);
    bool IsRunning() const;
    DWORD Id() const { return m_pi.dwProcessId; }
    HANDLE Handle() const { return m_pi.hProcess; }
    void Kill();

private:
    PROCESS_INFORMATION m_pi{};
};

// Top-level windows of a process with the given class name.
std::vector<HWND> FindTopLevelWindows(DWORD processId, const std::wstring& className);
// Waits until `predicate` holds, pumping this thread's messages; false on time-out.
template <typename Predicate>
bool WaitUntil(Predicate predicate, DWORD milliseconds = 20000) {
    DWORD start = ::GetTickCount();
    while (!predicate()) {
        if (::GetTickCount() - start > milliseconds) return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(50);
    }
    return true;
}

}  // namespace testing_support

namespace testing_support {
// Another process that holds `path` open for writing with the given sharing
// (none by default) until the returned process is killed or goes out of scope.
ChildProcess HoldFileOpen(const std::wstring& path, DWORD share = 0);
}  // namespace testing_support
