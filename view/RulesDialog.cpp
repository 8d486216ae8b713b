#include "view/RulesDialog.h"

#include "win/SystemInfo.h"
#include "scan/Listing.h"
#include "i18n/LangTexts.h"
#include "res/resource.h"
#include "scan/RulesScan.h"
#include "view/ItemText.h"
#include "view/RuleEntryChoice.h"
#include "view/RulesChoice.h"
#include "win/Text.h"

namespace {

// Entries measured since the dialog last took them, the measuring's end, and
// a check box the tree changed.
constexpr UINT WM_RULES_PROGRESS = WM_APP + 311;
constexpr UINT WM_RULES_DONE = WM_APP + 312;
constexpr UINT WM_RULES_CHECK = WM_APP + 313;

// A file of at most so many entries opens with its groups open.
constexpr size_t kEntriesShownOpen = 100;

struct MeasureStopped {};

// An entry's total that gives up as soon as the dialog no longer waits for it.
class CStoppableTotal : public CRuleEntryTotal {
public:
    explicit CStoppableTotal(const win::JobControl& control) : m_control(control) {}
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
        if (m_control.Stopping()) throw MeasureStopped();
        CRuleEntryTotal::AddFoundItem(std::move(path), findData);
    }

private:
    const win::JobControl& m_control;
};

RuleEntryAmount Measure(const RuleEntry& entry, const ISystemInfo& system, const CRuleBounds& bounds,
                        const win::JobControl& control) {
    RuleEntryAmount amount;
    amount.measured = true;
    amount.applies = RuleEntryApplies(entry, system);
    if (!amount.applies) return amount;
    CStoppableTotal total(control);
    CListingFilter listed(total);
    ScanRuleEntry(entry, system, listed, nullptr, &bounds);
    amount.items = total.items;
    amount.bytes = total.bytes;
    return amount;
}

bool IsTreeItemChecked(HWND tree, HTREEITEM item) {
    return (TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK) >> 12) == 2;
}

}  // namespace

CRulesDlg::CRulesDlg(IListViewHost& app, const ISystemInfo& system)
    : win::CDialog(IDD_RULES), m_app(app), m_system(system) {
    m_askWarning = [](HWND owner, const std::wstring& question) {
        std::wstring caption = GetUiText(LangId::RulesTitle);
        return ::MessageBoxW(owner, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
               IDYES;
    };
    m_chooseFile = [&app, &system](HWND owner) { return ChooseRulesFile(owner, app, system); };
}

CRulesDlg::~CRulesDlg() { StopMeasuring(); }

bool CRulesDlg::OnInit() {
    ApplyTexts();
    // Check boxes are set after the tree is made and before it is filled.
    HWND tree = GetItem(IDC_RULES_TREE);
    ::SetWindowLongPtrW(tree, GWL_STYLE, ::GetWindowLongPtrW(tree, GWL_STYLE) | TVS_CHECKBOXES);
    LoadFile();
    FillTree();
    StartMeasuring();
    PointEnterAt();
    return m_path.empty();  // the first control, File..., has the focus
}

void CRulesDlg::PointEnterAt() {
    // With no file, Enter picks one rather than closing an empty chooser;
    // with one, the entries have the focus and Enter keeps the choice.
    SendMessage(DM_SETDEFID, m_path.empty() ? IDC_RULES_FILE : IDOK);
    if (!m_path.empty()) SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetItem(IDC_RULES_TREE)), TRUE);
}

void CRulesDlg::ApplyTexts() {
    SetWindowText(GetUiText(LangId::RulesTitle) + L" - " + win::LoadResString(AFX_IDS_APP_TITLE));
    SetItemText(IDC_RULES_FILE, GetUiText(LangId::RulesFile));
    SetItemText(IDC_RULES_SEARCH_LABEL, GetUiText(LangId::RulesSearch));
    SetItemText(IDOK, GetUiText(LangId::RulesOk));
    SetItemText(IDCANCEL, GetUiText(LangId::RulesCancel));
}

void CRulesDlg::LoadFile() {
    m_path = StoredRulesFile(m_app);
    m_rules = m_path.empty() ? RulesFile{} : ReadRulesFile(m_path);
    ApplyStoredEntryChoice(m_app, m_path, m_rules);
    m_amounts.assign(m_rules.entries.size(), RuleEntryAmount{});
    SetItemText(IDC_RULES_PATH, m_path.empty() ? GetUiText(LangId::RulesNoFile) : m_path);
    SetItemText(IDC_RULES_DETAIL, L"");
}

std::wstring CRulesDlg::EntryText(size_t index) const {
    const std::wstring& name = m_rules.entries[index].name;
    const RuleEntryAmount& amount = m_amounts[index];
    if (!amount.measured) return name;
    if (!amount.applies) return name + L" (" + GetUiText(LangId::RulesNotHere) + L")";
    std::wstring size = FormatSizeText(amount.bytes);
    return name + L" (" +
           (amount.items == 1 ? FillInLangText(LangId::RulesAmountOne, {size})
                              : FillInLangText(LangId::RulesAmount, {win::GroupedNumber(amount.items), size})) +
           L")";
}

void CRulesDlg::FillTree() {
    HWND tree = GetItem(IDC_RULES_TREE);
    const std::wstring search = ItemText(IDC_RULES_SEARCH);
    std::vector<RuleGroup> groups = GroupRuleEntries(m_rules, search);
    // A search, or a short file, shows its entries at once.
    const UINT expanded = !search.empty() || m_rules.entries.size() <= kEntriesShownOpen ? TVIS_EXPANDED : 0;
    ::SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree);
    m_treeItems.assign(m_rules.entries.size(), nullptr);
    auto insert = [tree](HTREEITEM parent, std::wstring text, LPARAM param, UINT state) {
        TVINSERTSTRUCTW place{};
        place.hParent = parent;
        place.hInsertAfter = TVI_LAST;
        place.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
        place.item.pszText = text.data();
        place.item.lParam = param;
        place.item.state = state;
        place.item.stateMask = TVIS_STATEIMAGEMASK | TVIS_EXPANDED;
        return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&place)));
    };
    for (const RuleGroup& group : groups) {
        // A group has no check box of its own: each entry is chosen by itself.
        HTREEITEM parent = insert(TVI_ROOT, group.name.empty() ? GetUiText(LangId::RulesNoGroup) : group.name, 0,
                                  INDEXTOSTATEIMAGEMASK(0) | expanded);
        // Some trees give every new item a box: the group's is taken away again.
        TreeView_SetItemState(tree, parent, INDEXTOSTATEIMAGEMASK(0), TVIS_STATEIMAGEMASK);
        for (size_t index : group.entries)
            m_treeItems[index] = insert(parent, EntryText(index), static_cast<LPARAM>(index + 1),
                                        INDEXTOSTATEIMAGEMASK(m_rules.entries[index].on ? 2 : 1));
    }
    ::SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(tree, nullptr, TRUE);
    ShowStatus();
}

size_t CRulesDlg::EntryOfItem(HTREEITEM item) const {
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!item || !::SendMessageW(GetItem(IDC_RULES_TREE), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data)) ||
        data.lParam <= 0)
        return SIZE_MAX;
    return static_cast<size_t>(data.lParam - 1);
}

void CRulesDlg::CheckEntry(size_t index, bool on) {
    if (index >= m_rules.entries.size()) return;
    RuleEntry& entry = m_rules.entries[index];
    if (on && !entry.on && !entry.warning.empty() &&
        !m_askWarning(m_hWnd, FillInLangText(LangId::RulesAskWarning, {entry.warning, entry.name})))
        on = false;
    entry.on = on;
    if (HTREEITEM item = TreeItemOf(index)) TreeView_SetCheckState(GetItem(IDC_RULES_TREE), item, on);
    ShowStatus();
}

void CRulesDlg::OnCheckChanged(HTREEITEM item) {
    size_t index = EntryOfItem(item);
    HWND tree = GetItem(IDC_RULES_TREE);
    if (index == SIZE_MAX) {
        // A group's place of a check box stays empty.
        TreeView_SetItemState(tree, item, INDEXTOSTATEIMAGEMASK(0), TVIS_STATEIMAGEMASK);
        return;
    }
    if (IsTreeItemChecked(tree, item) != m_rules.entries[index].on) CheckEntry(index, IsTreeItemChecked(tree, item));
}

void CRulesDlg::ShowDetail(HTREEITEM item) {
    size_t index = EntryOfItem(item);
    if (index == SIZE_MAX) return SetItemText(IDC_RULES_DETAIL, L"");
    const RuleEntry& entry = m_rules.entries[index];
    std::wstring text = EntryText(index);
    if (!entry.warning.empty()) text += L"\n" + FillInLangText(LangId::RulesWarning, {entry.warning});
    SetItemText(IDC_RULES_DETAIL, text);
}

void CRulesDlg::ShowStatus() {
    const size_t total = m_rules.entries.size();
    if (m_job) {
        const size_t done = m_control ? m_control->Progress().done : 0;
        SetItemText(IDC_RULES_STATUS, FillInLangText(LangId::RulesMeasuring, {win::GroupedNumber(done),
                                                                              win::GroupedNumber(total)}));
        return;
    }
    size_t applying = 0, on = 0;
    for (size_t i = 0; i < total; ++i) {
        applying += m_amounts[i].applies;
        on += m_rules.entries[i].on;
    }
    SetItemText(IDC_RULES_STATUS, FillInLangText(LangId::RulesSummary, {win::GroupedNumber(applying),
                                                                        win::GroupedNumber(total),
                                                                        win::GroupedNumber(on)}));
}

void CRulesDlg::StartMeasuring() {
    if (m_rules.entries.empty()) return ShowStatus();
    m_control = std::make_shared<MeasureJob>(win::JobNotice{m_hWnd, WM_RULES_PROGRESS, WM_RULES_DONE, 200});
    m_control->SetTotal(m_rules.entries.size());
    // The job measures a copy: it never reads the dialog.
    auto work = [control = m_control, rules = std::make_shared<const RulesFile>(m_rules), &system = m_system] {
        CRuleBounds bounds(system);
        try {
            for (size_t i = 0; i < rules->entries.size() && !control->Stopping(); ++i) {
                control->done.Add({i, Measure(rules->entries[i], system, bounds, *control)});
                control->Advance();
                control->Tell();
            }
        } catch (const MeasureStopped&) {
            // The dialog closed or took another file: what was measured is not wanted.
        }
    };
    m_job = win::Job::Start(m_control, std::move(work), L"rules measure", THREAD_PRIORITY_BELOW_NORMAL);
    if (!m_job) m_control.reset();
    ShowStatus();
}

void CRulesDlg::StopMeasuring() {
    m_job.StopAndWait(INFINITE);
    m_job.Reset();
    m_control.reset();
}

void CRulesDlg::TakeAmounts() {
    if (!m_control) return;
    m_control->Taken();
    HWND tree = GetItem(IDC_RULES_TREE);
    for (Measured& measured : m_control->done.Take()) {
        if (measured.index >= m_amounts.size()) continue;
        m_amounts[measured.index] = measured.amount;
        if (HTREEITEM item = TreeItemOf(measured.index)) {
            std::wstring text = EntryText(measured.index);
            TVITEMW data{};
            data.mask = TVIF_TEXT;
            data.hItem = item;
            data.pszText = text.data();
            ::SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        }
    }
    ShowStatus();
}

bool CRulesDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case IDC_RULES_SEARCH:
        if (code == EN_CHANGE) FillTree();
        return true;
    case IDC_RULES_FILE:
        if (m_chooseFile(m_hWnd)) {
            StopMeasuring();
            m_fileChanged = true;
            LoadFile();
            FillTree();
            StartMeasuring();
            PointEnterAt();
        }
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CRulesDlg::OnOK() {
    if (!m_path.empty()) StoreEntryChoice(m_app, m_path, m_rules);
    EndDialog(IDOK);
}

void CRulesDlg::OnTreeNotify(const NMHDR& header) {
    HWND tree = header.hwndFrom;
    switch (header.code) {
    case NM_CLICK: {
        TVHITTESTINFO hit{};
        DWORD at = ::GetMessagePos();
        hit.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        ::ScreenToClient(tree, &hit.pt);
        HTREEITEM item = TreeView_HitTest(tree, &hit);
        if (item && (hit.flags & TVHT_ONITEMSTATEICON)) PostMessage(WM_RULES_CHECK, 0, reinterpret_cast<LPARAM>(item));
        return;
    }
    case TVN_KEYDOWN:
        if (reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey == VK_SPACE)
            PostMessage(WM_RULES_CHECK, 0, reinterpret_cast<LPARAM>(TreeView_GetSelection(tree)));
        return;
    case TVN_SELCHANGEDW:
        ShowDetail(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.hItem);
        return;
    }
}

INT_PTR CRulesDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lp);
        if (header.idFrom == IDC_RULES_TREE) OnTreeNotify(header);
        return FALSE;
    }
    case WM_RULES_CHECK:
        if (lp) OnCheckChanged(reinterpret_cast<HTREEITEM>(lp));
        return TRUE;
    case WM_RULES_PROGRESS:
        TakeAmounts();
        return TRUE;
    case WM_RULES_DONE:
        m_job.Wait(5000);  // it has posted its last word
        TakeAmounts();
        m_job.Reset();
        m_control.reset();
        ShowStatus();
        return TRUE;
    }
    return FALSE;
}

bool ShowRulesChooser(HWND owner, IListViewHost& app, const ISystemInfo& system) {
    CRulesDlg dialog(app, system);
    const bool chosen = dialog.DoModal(owner) == IDOK;
    return chosen || dialog.FileChanged();
}
