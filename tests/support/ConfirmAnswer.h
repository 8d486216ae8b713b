#pragma once
// Answers the program's question before a step that cannot be undone (the
// permanent clean's, the browser clean's) on this thread, from a timer that
// runs inside the question's own loop: ticks "Do not ask again" when told
// to, presses the button, counts the questions and keeps the last one.
#include <windows.h>

#include <string>

#include "res/resource.h"
#include "win/Controls.h"

namespace testing_support {

struct ConfirmAnswer {
    int button = IDYES;
    bool tick = false;
    int dialogs = 0;
    std::wstring question;
};

// While it lives, every question shown on this thread is answered as `answer` says.
class CConfirmAnswerer {
public:
    explicit CConfirmAnswerer(ConfirmAnswer& answer) {
        Current() = &answer;
        m_timer = ::SetTimer(nullptr, 0, 50, &Tick);
    }
    ~CConfirmAnswerer() {
        ::KillTimer(nullptr, m_timer);
        Current() = nullptr;
    }
    CConfirmAnswerer(const CConfirmAnswerer&) = delete;
    CConfirmAnswerer& operator=(const CConfirmAnswerer&) = delete;

private:
    static ConfirmAnswer*& Current() {
        static ConfirmAnswer* current = nullptr;
        return current;
    }
    static BOOL CALLBACK AnswerIfQuestion(HWND window, LPARAM) {
        HWND box = ::GetDlgItem(window, IDC_CONFIRM_NOASK);
        if (!box || !::IsWindowVisible(window)) return TRUE;
        ConfirmAnswer& answer = *Current();
        ++answer.dialogs;
        answer.question = win::CWnd(::GetDlgItem(window, IDC_CONFIRM_TEXT)).GetWindowText();
        if (answer.tick) ::SendMessageW(box, BM_CLICK, 0, 0);
        ::SendMessageW(::GetDlgItem(window, answer.button), BM_CLICK, 0, 0);
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (Current()) ::EnumThreadWindows(::GetCurrentThreadId(), &AnswerIfQuestion, 0);
    }
    UINT_PTR m_timer = 0;
};

}  // namespace testing_support
