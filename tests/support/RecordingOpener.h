#pragma once
// In place of the shell for the links and the Help commands while it lives:
// records each address and answers with `result` (above 32 for success).
#include <string>
#include <vector>

#include "win/StaticLink.h"

namespace testing_support {

struct RecordingOpener {
    explicit RecordingOpener(INT_PTR result = 33) {
        win::CHyperlink::s_open = [this, result](const std::wstring& address) {
            opened.push_back(address);
            return reinterpret_cast<HINSTANCE>(result);
        };
    }
    ~RecordingOpener() { win::CHyperlink::s_open = saved; }
    RecordingOpener(const RecordingOpener&) = delete;

    win::CHyperlink::Opener saved = win::CHyperlink::s_open;
    std::vector<std::wstring> opened;
};

}  // namespace testing_support
