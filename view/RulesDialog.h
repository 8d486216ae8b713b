#pragma once
// Options > Extra Rules: the entries of the chosen rules file in a tree of
// the file's own groups, each with a check box, narrowed by a search; what
// each entry would remove, measured by a job that only reads while the
// dialog answers; an entry's Warning= asked before it is turned on. OK
// remembers the choice for the file (RuleEntryChoice.h); File... picks
// another file or none.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scan/RulesFile.h"
#include "win/Dialog.h"
#include "win/Job.h"

class IListViewHost;
class ISystemInfo;

// What an entry would remove on this machine, once measured.
struct RuleEntryAmount {
    bool measured = false;
    bool applies = false;
    size_t items = 0;
    ULONGLONG bytes = 0;
};

class CRulesDlg : public win::CDialog {
public:
    CRulesDlg(IListViewHost& app, const ISystemInfo& system);
    ~CRulesDlg() override;

    // Asked before an entry with a warning is turned on; true turns it on.
    // A real question unless tests put another in.
    std::function<bool(HWND owner, const std::wstring& question)> m_askWarning;
    // What File... does; true when the file changed. The real choice unless
    // tests put another in.
    std::function<bool(HWND owner)> m_chooseFile;

    const RulesFile& Rules() const { return m_rules; }
    const std::vector<RuleEntryAmount>& Amounts() const { return m_amounts; }
    bool Measuring() const { return static_cast<bool>(m_job); }
    bool FileChanged() const { return m_fileChanged; }
    // Turns an entry on or off as its check box does; one with a warning
    // is turned on only when the user accepts it.
    void CheckEntry(size_t index, bool on);
    // The tree's item of an entry; none while the search hides it.
    HTREEITEM TreeItemOf(size_t index) const { return index < m_treeItems.size() ? m_treeItems[index] : nullptr; }

protected:
    bool OnInit() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyTexts();
    void LoadFile();
    void PointEnterAt();
    void FillTree();
    std::wstring EntryText(size_t index) const;
    void OnTreeNotify(const NMHDR& header);
    // The check box of a tree item changed (posted: the tree changes it
    // after it tells of the click or the key).
    void OnCheckChanged(HTREEITEM item);
    size_t EntryOfItem(HTREEITEM item) const;
    void ShowDetail(HTREEITEM item);
    void ShowStatus();
    void StartMeasuring();
    void StopMeasuring();
    void TakeAmounts();

    IListViewHost& m_app;
    const ISystemInfo& m_system;
    std::wstring m_path;
    RulesFile m_rules;
    std::vector<RuleEntryAmount> m_amounts;
    std::vector<HTREEITEM> m_treeItems;  // by entry
    struct Measured {
        size_t index = 0;
        RuleEntryAmount amount;
    };
    struct MeasureJob : win::JobControl {
        using JobControl::JobControl;
        win::JobResults<Measured> done;
    };
    std::shared_ptr<MeasureJob> m_control;
    win::Job m_job;
    bool m_fileChanged = false;
};

// Opens the dialog modally; true when the choice or the file changed.
bool ShowRulesChooser(HWND owner, IListViewHost& app, const ISystemInfo& system);
