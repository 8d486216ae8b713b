#include "view/ConfirmDelete.h"

#include "app/BriskoApp.h"
#include "i18n/LangTexts.h"
#include "res/resource.h"
#include "win/SizeText.h"

namespace {

constexpr const wchar_t* kAskEntry = L"askPermanent";

}  // namespace

SelectionAmount SelectedAmount(const win::CListCtrl& list) {
    SelectionAmount amount;
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED)) {
        ++amount.items;
        if (list.GetItemText(row, 2).empty()) {
            ++amount.folders;
            continue;
        }
        // The list shows whole kilobytes; the question tells what goes.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (::GetFileAttributesExW(list.GetItemText(row, 0).c_str(), GetFileExInfoStandard, &data))
            amount.bytes += (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return amount;
}

std::wstring PermanentDeleteQuestion(const SelectionAmount& amount) {
    std::wstring size = ShortSizeText(amount.bytes);
    if (amount.folders > 0) size = FillInLangText(LangId::ConfirmFolders, {size, GroupedNumber(amount.folders)});
    return amount.items == 1 ? FillInLangText(LangId::ConfirmDeleteOne, {size})
                             : FillInLangText(LangId::ConfirmDelete, {GroupedNumber(amount.items), size});
}

CConfirmDeleteDlg::CConfirmDeleteDlg(std::wstring question)
    : win::CDialog(IDD_CONFIRM_DELETE), m_question(std::move(question)) {}

INT_PTR CConfirmDeleteDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;  // the focus goes to the default button, Yes
    case WM_COMMAND:
        if (LOWORD(wp) == IDYES || LOWORD(wp) == IDNO || LOWORD(wp) == IDCANCEL) {
            m_doNotAskAgain = ::IsDlgButtonChecked(m_hWnd, IDC_CONFIRM_NOASK) == BST_CHECKED;
            EndDialog(LOWORD(wp) == IDYES ? IDYES : IDNO);
        }
        return TRUE;
    }
    return FALSE;
}

void CConfirmDeleteDlg::OnInitDialog() {
    SetWindowText(GetUiText(LangId::TipDelete));
    ::SetWindowTextW(GetItem(IDC_CONFIRM_TEXT), m_question.c_str());
    ::SetWindowTextW(GetItem(IDC_CONFIRM_NOASK), GetUiText(LangId::ConfirmNoAsk).c_str());
    ::SetWindowTextW(GetItem(IDYES), GetUiText(LangId::ConfirmYes).c_str());
    ::SetWindowTextW(GetItem(IDNO), GetUiText(LangId::ConfirmNo).c_str());
    ::SendMessageW(GetItem(IDC_CONFIRM_ICON), STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_WARNING)), 0);
    ::MessageBeep(MB_ICONWARNING);
}

bool AsksBeforePermanentClean(const CBriskoApp& app) { return app.GetProfileInt(app.m_szUserName, kAskEntry, 1) != 0; }

bool ConfirmPermanentClean(HWND owner, CBriskoApp& app, const SelectionAmount& amount) {
    if (!AsksBeforePermanentClean(app)) return true;
    CConfirmDeleteDlg dialog(PermanentDeleteQuestion(amount));
    if (dialog.DoModal(owner) != IDYES) return false;
    if (dialog.DoNotAskAgain()) app.WriteProfileInt(app.m_szUserName, kAskEntry, 0);
    return true;
}
