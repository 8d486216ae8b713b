#include "view/ConfirmDelete.h"

#include "view/ListViewHost.h"
#include "i18n/LangTexts.h"
#include "res/resource.h"
#include "win/SizeText.h"

namespace {

constexpr const wchar_t* kAskEntry = L"askPermanent";

}  // namespace

std::wstring PermanentDeleteQuestion(const SelectionAmount& amount) {
    std::wstring size = ShortSizeText(amount.bytes);
    if (amount.folders > 0) size = FillInLangText(LangId::ConfirmFolders, {size, GroupedNumber(amount.folders)});
    return amount.items == 1 ? FillInLangText(LangId::ConfirmDeleteOne, {size})
                             : FillInLangText(LangId::ConfirmDelete, {GroupedNumber(amount.items), size});
}

CConfirmDeleteDlg::CConfirmDeleteDlg(std::wstring question)
    : win::CDialog(IDD_CONFIRM_DELETE), m_question(std::move(question)) {}

bool CConfirmDeleteDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id != IDYES && id != IDNO) return CDialog::OnCommand(id, code, control);
    Answer(id);
    return true;
}

void CConfirmDeleteDlg::Answer(UINT answer) {
    m_doNotAskAgain = IsChecked(IDC_CONFIRM_NOASK);
    EndDialog(answer == IDYES ? IDYES : IDNO);
}

bool CConfirmDeleteDlg::OnInit() {
    SetWindowText(GetUiText(LangId::TipDelete));
    SetItemText(IDC_CONFIRM_TEXT, m_question);
    SetItemText(IDC_CONFIRM_NOASK, GetUiText(LangId::ConfirmNoAsk));
    SetItemText(IDYES, GetUiText(LangId::ConfirmYes));
    SetItemText(IDNO, GetUiText(LangId::ConfirmNo));
    ::SendMessageW(GetItem(IDC_CONFIRM_ICON), STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_WARNING)), 0);
    ::MessageBeep(MB_ICONWARNING);
    return true;  // the focus goes to the default button, Yes
}

bool AsksBeforePermanentClean(const IListViewHost& host) {
    return host.Profile().GetInt(host.UserName(), kAskEntry, 1) != 0;
}

bool ConfirmPermanentClean(HWND owner, IListViewHost& host, const SelectionAmount& amount) {
    if (!AsksBeforePermanentClean(host)) return true;
    CConfirmDeleteDlg dialog(PermanentDeleteQuestion(amount));
    if (dialog.DoModal(owner) != IDYES) return false;
    if (dialog.DoNotAskAgain()) host.Profile().WriteInt(host.UserName(), kAskEntry, 0);
    return true;
}
