#pragma once
// The question before a permanent clean: "Permanently delete 3,510 items
// (192.6 MB)? This cannot be undone.", Yes or No, and "Do not ask again",
// which the user's settings keep. A move to the Recycle Bin asks nothing.
#include <windows.h>

#include <string>

#include "scan/FoundItems.h"
#include "win/Controls.h"
#include "win/Dialog.h"
#include "win/Profile.h"

class IListViewHost;

// What a clean of the selection would remove: its items and what their
// folders hold, and the folders still being measured.
using SelectionAmount = ItemAmount;

// The question, in the user's language; with folders not measured yet, their
// count and "measuring…" beside the size known so far.
std::wstring PermanentDeleteQuestion(const SelectionAmount& amount);

class CConfirmDeleteDlg : public win::CDialog {
public:
    // `title`: the caption; the Delete button's name when empty.
    explicit CConfirmDeleteDlg(std::wstring question, std::wstring title = {});
    // After the dialog: the user ticked "Do not ask again".
    bool DoNotAskAgain() const { return m_doNotAskAgain; }

protected:
    bool OnInit() override;
    // Yes and No end the dialog with their answer; Cancel, Escape and Alt+F4 are No.
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnCancel() override { Answer(IDNO); }

private:
    void Answer(UINT answer);
    std::wstring m_question;
    std::wstring m_title;
    bool m_doNotAskAgain = false;
};

// Asks the question unless the user said not to; remembers "Do not ask
// again" when the answer is Yes. True to go on with the clean.
bool ConfirmPermanentClean(HWND owner, IListViewHost& host, const SelectionAmount& amount);

// The setting, beside the user's language and rules file.
bool AsksBeforePermanentClean(const IListViewHost& host);

// The same question for any step that cannot be undone: asked unless the
// user's setting `askEntry` is 0, which a Yes with "Do not ask again" writes.
// True to go on.
bool ConfirmUnlessToldNotTo(HWND owner, const win::CProfile& settings, const std::wstring& user, const wchar_t* askEntry,
                            const std::wstring& question, const std::wstring& title);
