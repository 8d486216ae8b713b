#include "view/RulesChoice.h"

#include <commdlg.h>

#include <algorithm>

#include <vector>

#include "view/ListViewHost.h"
#include "view/RuleEntryChoice.h"
#include "i18n/Lang.h"
#include "policy/Policies.h"
#include "res/resource.h"
#include "scan/RulesScan.h"
#include "win/FileDialog.h"
#include "win/Path.h"
#include "win/Text.h"

namespace {

constexpr const wchar_t* kRulesEntry = L"rules";
// A message box shows this many of the lines a file leaves out.
constexpr size_t kProblemsShown = 8;

std::wstring Caption() {
    return LoadResSuffix(ID_OPTIONS_RULES, L'\n') + L" - " + win::LoadResString(AFX_IDS_APP_TITLE);
}

// The lines a file leaves out and the folders refused on this machine, one a line.
class CProblemList : public IRuleReport {
public:
    explicit CProblemList(const RulesFile& rules) : m_more(rules.problemsNotKept) {
        for (const RuleProblem& problem : rules.problems) m_lines.push_back(RuleProblemText(problem));
    }
    void Refused(const RuleEntry& entry, const std::wstring& folder, const std::wstring& why) override {
        m_lines.push_back(L"[" + entry.name + L"] " + folder + L" " + why);
    }
    bool Empty() const { return m_lines.empty(); }
    std::wstring Text() const {
        std::wstring text;
        for (size_t i = 0; i < m_lines.size() && i < kProblemsShown; ++i) text += L"\n" + m_lines[i];
        size_t more = m_more + m_lines.size() - std::min(m_lines.size(), kProblemsShown);
        return more > 0 ? text + L"\n+ " + std::to_wstring(more) : text;
    }

private:
    std::vector<std::wstring> m_lines;
    size_t m_more;
};

std::optional<std::wstring> PickWithDialog(HWND owner, const std::wstring& current) {
    // The program's own rules file stands in the "rules" folder beside it.
    std::wstring folder = current.empty() ? JoinPath(ProgramFolder(), L"rules") : ParentOf(current);
    return win::AskFileToOpen(owner, LoadResSuffix(ID_OPTIONS_RULES, L'\n'), win::LoadResString(IDS_RULES_FILTER),
                              folder, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR);
}

}  // namespace

std::wstring StoredRulesFile(const IListViewHost& app) { return app.Profile().GetString(app.UserName(), kRulesEntry, L""); }

void StoreRulesFile(const IListViewHost& app, const std::wstring& path) {
    app.Profile().WriteString(app.UserName(), kRulesEntry, path);
}

std::optional<RulesFile> LoadChosenRules(const IListViewHost& app) {
    std::wstring path = StoredRulesFile(app);
    if (path.empty()) return std::nullopt;
    RulesFile rules = ReadRulesFile(path);
    if (!rules.readable) return std::nullopt;
    ApplyStoredEntryChoice(app, path, rules);
    return rules;
}

std::optional<RulesFile> LoadRulesInForce(const IListViewHost& app) {
    std::optional<std::wstring> byPolicy = CurrentPolicies()->rulesFile;
    if (!byPolicy) return LoadChosenRules(app);
    RulesFile rules = ReadRulesFile(*byPolicy);
    if (!rules.readable) return std::nullopt;
    return rules;
}

RulesDialogs RealRulesDialogs() {
    RulesDialogs dialogs;
    dialogs.askChange = [](HWND owner, const std::wstring& current) {
        std::wstring text = current + L"\n\n" + win::LoadResString(IDS_RULES_ASK);
        return ::MessageBoxW(owner, text.c_str(), Caption().c_str(), MB_YESNOCANCEL | MB_ICONQUESTION);
    };
    dialogs.pickFile = PickWithDialog;
    dialogs.tell = [](HWND owner, const std::wstring& text) {
        ::MessageBoxW(owner, text.c_str(), Caption().c_str(), MB_OK | MB_ICONINFORMATION);
    };
    return dialogs;
}

bool ChooseRulesFile(HWND owner, IListViewHost& app, const ISystemInfo& system, const RulesDialogs& dialogs) {
    const std::wstring current = StoredRulesFile(app);
    if (!current.empty()) {
        int answer = dialogs.askChange(owner, current);
        if (answer == IDNO) StoreRulesFile(app, L"");
        if (answer != IDYES) return answer == IDNO;
    }
    std::optional<std::wstring> picked = dialogs.pickFile(owner, current);
    if (!picked || picked->empty()) return false;
    RulesFile rules = ReadRulesFile(*picked);
    CProblemList problems(rules);
    if (!rules.readable) {
        dialogs.tell(owner, win::LoadResString(IDS_RULES_UNREADABLE) + problems.Text());
        return false;
    }
    CheckRuleFolders(rules, system, problems);
    if (!problems.Empty()) dialogs.tell(owner, win::LoadResString(IDS_RULES_LEFT_OUT) + problems.Text());
    StoreRulesFile(app, *picked);
    return *picked != current;
}
