#include "support/TestSupport.h"

#include <atomic>

#include "item/Links.h"

namespace testing_support {

std::wstring SiblingProgram(const std::wstring& fileName) { return ProgramFolder() + L"\\" + fileName; }

void MakeFolders(const std::wstring& path) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
}

ScratchFolder::ScratchFolder(const std::wstring& name) {
    static std::atomic<int> counter{0};
    std::wstring root = ProgramFolder() + L"\\scratch";
    ::CreateDirectoryW(root.c_str(), nullptr);
    m_path = root + L"\\" + name + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(counter++);
    RemoveTree(m_path);
    MakeFolders(m_path);
}

ScratchFolder::~ScratchFolder() {
    // Leave the current directory, which a walk may have set inside the tree.
    std::wstring folder = ProgramFolder();
    ::SetCurrentDirectoryW(folder.c_str());
    RemoveTree(m_path);
}

void RemoveTree(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    // Under Wine a link to a file looks like a plain file, and removing it
    // removes its target: never touch anything that is a link.
    if (IsLinkPath(path)) return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW fd;
        HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = fd.cFileName;
                if (name == L"." || name == L"..") continue;
                RemoveTree(path + L"\\" + name);
            } while (::FindNextFileW(find, &fd));
            ::FindClose(find);
        }
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::RemoveDirectoryW(path.c_str());
        return;
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // Never through a link: only the link's own entry would go, and Wine
        // removes a link's target instead. Leave it for the prefix's end.
        return;
    }
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20)), written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) break;
        done += written;
    }
    ::CloseHandle(file);
}

void WriteTextFile(const std::wstring& path, const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    WriteFileBytes(path, bytes);
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : m_pi(other.m_pi) { other.m_pi = {}; }

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        Kill();
        m_pi = other.m_pi;
        other.m_pi = {};
    }
    return *this;
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Start(const std::wstring& program, const std::wstring& arguments) {
    std::wstring line = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    return ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            ProgramFolder().c_str(), &si, &m_pi) != FALSE;
}

long ChildProcess::Wait(DWORD milliseconds) {
    if (!m_pi.hProcess) return -1;
    if (::WaitForSingleObject(m_pi.hProcess, milliseconds) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(m_pi.hProcess, &code);
    return static_cast<long>(code);
}

bool ChildProcess::IsRunning() const {
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Kill() {
    if (m_pi.hProcess) {
        if (IsRunning()) {
            ::TerminateProcess(m_pi.hProcess, 1);
            ::WaitForSingleObject(m_pi.hProcess, 5000);
        }
        ::CloseHandle(m_pi.hProcess);
        ::CloseHandle(m_pi.hThread);
    }
    m_pi = {};
}

namespace {
struct WindowSearch {
    DWORD processId;
    const std::wstring* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[256] = {};
    ::GetClassNameW(hwnd, name, 256);
    if ((search->processId == 0 || pid == search->processId) && *search->className == name)
        search->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> FindTopLevelWindows(DWORD processId, const std::wstring& className) {
    WindowSearch search{processId, &className, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace testing_support

namespace testing_support {
ChildProcess HoldFileOpen(const std::wstring& path, DWORD share) {
    static int counter = 0;
    std::wstring eventName = L"brisko-hold-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                             std::to_wstring(counter++);
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ChildProcess child;
    child.Start(SiblingProgram(L"hold_file.exe"), L"\"" + path + L"\" " + eventName + L" " + std::to_wstring(share));
    HANDLE waits[2] = {ready, child.Handle()};
    ::WaitForMultipleObjects(child.Handle() ? 2 : 1, waits, FALSE, 20000);
    ::CloseHandle(ready);
    return child;
}
}  // namespace testing_support
