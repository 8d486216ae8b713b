#pragma once
// What the clean tests share: links made the way the platform allows, the
// prefix's trash, and a frame with a status bar.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <optional>
#include <string>

#include "clean/RemovalReport.h"

#include "support/TestSupport.h"

namespace clean_test {

// What a removal told: the reason of each path that stays, the bytes of each
// measured one.
struct ReasonRecorder : IRemovalReport {
    std::map<std::wstring, LeftReason> left;
    std::map<std::wstring, unsigned long long> measured;
    int removing = 0;
    void Removing(const std::wstring&) override { ++removing; }
    void RemovingMeasured(const std::wstring& path, size_t, unsigned long long bytes) override {
        measured[path] = bytes;
        ++removing;
    }
    void Left(const std::wstring& path, LeftReason reason) override { left.emplace(path, reason); }
};

// Sets an environment variable of this process for one scope.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : m_name(name) {
        wchar_t old[4096];
        DWORD n = ::GetEnvironmentVariableW(name, old, 4096);
        if (n > 0 && n < 4096) m_old = std::wstring(old, n);
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(m_name, m_old ? m_old->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const wchar_t* m_name;
    std::optional<std::wstring> m_old;
};

// True when the tests run under Wine.
inline bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

inline std::string UnixPathOf(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return {};
    char* name = unixName(path.c_str());
    if (!name) return {};
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

inline std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());  // the prefix's paths are plain ASCII
}

// Runs a program of the host's /bin with a command line, and waits for it.
inline bool RunHostCommand(const std::wstring& program, std::wstring line) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring path = L"\\\\?\\unix\\bin\\" + program;
    if (!::CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    ::WaitForSingleObject(pi.hProcess, 20000);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return true;
}

// A symbolic link at `link` to `target`. Wine accepts CreateSymbolicLinkW
// but makes nothing, so there the link is made by the host's ln.
inline bool MakeLink(const std::wstring& link, const std::wstring& target, bool folder) {
    if (!UnderWine())
        return ::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                                     (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | 0x2 /* unprivileged */) != FALSE;
    std::string unixTarget = UnixPathOf(target);
    std::string unixFolder = UnixPathOf(link.substr(0, link.rfind(L'\\')));
    if (unixTarget.empty() || unixFolder.empty()) return false;
    return RunHostCommand(L"ln", L"ln -s \"" + Widen(unixTarget) + L"\" \"" + Widen(unixFolder) + L"/" +
                                     link.substr(link.rfind(L'\\') + 1) + L"\"") &&
           // The host's program may not have finished when its handle says so.
           testing_support::WaitUntil(
               [&] { return ::GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
}

// True once the host holds an entry spelled exactly as the last step of
// `path`: Wine looks a name up as spelled before it tries other letter cases,
// so a link whose name differs in case only from an entry already there is
// found before it exists.
inline bool HostHasExactly(const std::wstring& path) {
    std::string host = UnixPathOf(path);
    std::wstring name = path.substr(path.rfind(L'\\') + 1);
    std::string narrow(name.begin(), name.end());  // the tests' link names are plain ASCII
    return host.size() > narrow.size() && host.compare(host.size() - narrow.size(), narrow.size(), narrow) == 0;
}

// Removes a link made by MakeLink, never what it points to.
inline bool RemoveLink(const std::wstring& link, bool folder) {
    if (!UnderWine())
        return folder ? ::RemoveDirectoryW(link.c_str()) != FALSE : ::DeleteFileW(link.c_str()) != FALSE;
    return RunHostCommand(L"rm", L"rm -f \"" + Widen(UnixPathOf(link)) + L"\"") &&
           testing_support::WaitUntil(
        [&] { return ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; }, 10000);
}

// The prefix's trash ($HOME/.local/share/Trash, HOME being <prefix>/home),
// as a path this program can open; empty off Wine. Its parent is made when
// missing: without it Wine's shell has no trash and deletes for good.
inline std::wstring PrefixTrashFolder() {
    std::string drive = UnixPathOf(L"C:\\");
    size_t at = drive.find("/dosdevices/");
    if (at == std::string::npos) return {};
    std::string unixTrash = drive.substr(0, at) + "/home/.local/share/Trash";
    std::wstring result = L"\\\\?\\unix" + Widen(unixTrash);
    for (wchar_t& c : result)
        if (c == L'/') c = L'\\';
    size_t share = result.rfind(L'\\');
    for (size_t at = result.find(L"\\home"); at != std::wstring::npos && at <= share;
         at = result.find(L'\\', at + 1))
        ::CreateDirectoryW(result.substr(0, at).c_str(), nullptr);
    return result;
}

// A frame window with a status bar, for the removal reports that write to one.
class FrameWithStatusBar {
public:
    FrameWithStatusBar() {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_frame = ::CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                    nullptr, nullptr);
        m_bar = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_frame, nullptr,
                                  nullptr, nullptr);
    }
    ~FrameWithStatusBar() { ::DestroyWindow(m_frame); }
    FrameWithStatusBar(const FrameWithStatusBar&) = delete;
    FrameWithStatusBar& operator=(const FrameWithStatusBar&) = delete;
    HWND Frame() const { return m_frame; }
    HWND StatusBar() const { return m_bar; }
    std::wstring StatusText() const {
        wchar_t text[1024] = {};
        ::SendMessageW(m_bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void SetStatusText(const std::wstring& text) {
        ::SendMessageW(m_bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

private:
    HWND m_frame = nullptr;
    HWND m_bar = nullptr;
};

}  // namespace clean_test
