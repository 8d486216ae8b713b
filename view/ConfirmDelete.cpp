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
    if (amount.measuring == 1) size = FillInLangText(LangId::ConfirmFolder, {size});
    else if (amount.measuring > 0) size = FillInLangText(LangId::ConfirmFolders, {size, GroupedNumber(amount.measuring)});
    return amount.items == 1 ? FillInLangText(LangId::ConfirmDeleteOne, {size})
                             : FillInLangText(LangId::ConfirmDelete, {GroupedNumber(amount.items), size});
}

CConfirmDeleteDlg::CConfirmDeleteDlg(std::wstring question, std::wstring title)
    : win::CDialog(IDD_CONFIRM_DELETE), m_question(std::move(question)), m_title(std::move(title)) {}

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
    SetWindowText(m_title.empty() ? GetUiText(LangId::TipDelete) : m_title);
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

bool ConfirmUnlessToldNotTo(HWND owner, const win::CProfile& settings, const std::wstring& user, const wchar_t* askEntry,
                            const std::wstring& question, const std::wstring& title) {
    if (settings.GetInt(user, askEntry, 1) == 0) return true;
    CConfirmDeleteDlg dialog(question, title);
    if (dialog.DoModal(owner) != IDYES) return false;
    if (dialog.DoNotAskAgain()) settings.WriteInt(user, askEntry, 0);
    return true;
}

bool ConfirmPermanentClean(HWND owner, IListViewHost& host, const SelectionAmount& amount) {
    return ConfirmUnlessToldNotTo(owner, host.Profile(), host.UserName(), kAskEntry, PermanentDeleteQuestion(amount), {});
}
