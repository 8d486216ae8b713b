#pragma once
// Puts a recording opener in place of the shell for the links and the Help
// commands, answering with `result`, and puts the shell's back at the end.
#include <windows.h>
#include <string>
#include <vector>

#include "win/StaticLink.h"

namespace testing_support {

class RecordingOpener {
public:
    explicit RecordingOpener(INT_PTR result = 33) : m_saved(win::CHyperlink::s_open) {
        win::CHyperlink::s_open = [this, result](const std::wstring& address) {
            opened.push_back(address);
            return reinterpret_cast<HINSTANCE>(result);
        };
    }
    ~RecordingOpener() { win::CHyperlink::s_open = m_saved; }
    RecordingOpener(const RecordingOpener&) = delete;
    RecordingOpener& operator=(const RecordingOpener&) = delete;

    std::vector<std::wstring> opened;

private:
    win::CHyperlink::Opener m_saved;
};

}  // namespace testing_support
