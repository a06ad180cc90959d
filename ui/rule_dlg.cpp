#include "rule_dlg.h"

#include <commctrl.h>

#include "clarovia_page.h"
#include "controls.h"
#include "process_name.h"
#include "resource.h"

namespace ui {

namespace {
// The level a new rule starts with.
constexpr int kNewRuleLevel = 200;
}  // namespace

CRuleDlg::CRuleDlg(HWND owner, const app::ProgramRule& rule) : fw::Dialog(IDD_RULE_DIALOG, owner), Rule(rule) {}

BOOL CRuleDlg::OnInitDialog() {
    const HWND dlg = hwnd();
    const HWND list = Item(IDC_RULE_WINDOWS);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    fw::AddListColumn(list, 0, fw::ResourceString(IDS_RULES_COLUMN_PROGRAM), 100);
    fw::AddListColumn(list, 1, fw::ResourceString(IDS_RULES_COLUMN_TITLE), 160);
    fw::AddListColumn(list, 2, fw::ResourceString(IDS_RULES_COLUMN_CLASS), 100);
    // The rows in the order of the list: row i is window i.
    windows_ = shell::OpenProgramWindows();
    for (const shell::ProgramWindow& w : windows_) fw::AddListRow(list, {w.program.c_str(), w.title.c_str(), w.className.c_str()});

    SendDlgItemMessageW(dlg, IDC_RULE_CLASS, EM_LIMITTEXT, app::kRuleNameLimit - 1, 0);
    fw::SetItemText(dlg, IDC_RULE_PROGRAM, Rule.Program);
    fw::SetItemText(dlg, IDC_RULE_CLASS, Rule.Class);
    fw::SetCheck(dlg, IDC_RULE_ONLY_CLASS, !Rule.Class.empty());
    fw::SetCheck(dlg, IDC_RULE_TRANSLUCENT, Rule.Level != 0);
    fw::SetCheck(dlg, IDC_RULE_ON_TOP, Rule.OnTop);
    fw::SetCheck(dlg, IDC_RULE_CLICK_THROUGH, Rule.ClickThrough);
    fw::SetCheck(dlg, IDC_RULE_WHILE_INACTIVE, Rule.WhileInactive);
    const int level = Rule.Level != 0 ? Rule.Level : kNewRuleLevel;
    fw::InitTrackbar(dlg, IDC_RULE_LEVEL, app::kLevelLow, app::kLevelHigh, level);
    ShowLevelText(dlg, IDC_RULE_LEVEL_LABEL, level);
    UpdateControls();
    return TRUE;
}

app::ProgramRule CRuleDlg::ShownRule() const {
    const HWND dlg = hwnd();
    app::ProgramRule rule;
    // A path typed or pasted counts by its file name.
    rule.Program = fw::PathFileName(fw::ItemText(dlg, IDC_RULE_PROGRAM));
    if (fw::CheckState(dlg, IDC_RULE_ONLY_CLASS)) rule.Class = fw::ItemText(dlg, IDC_RULE_CLASS);
    if (fw::CheckState(dlg, IDC_RULE_TRANSLUCENT)) rule.Level = fw::TrackbarPos(dlg, IDC_RULE_LEVEL);
    rule.OnTop = fw::CheckState(dlg, IDC_RULE_ON_TOP) ? 1 : 0;
    rule.ClickThrough = fw::CheckState(dlg, IDC_RULE_CLICK_THROUGH) ? 1 : 0;
    rule.WhileInactive = rule.Level && fw::CheckState(dlg, IDC_RULE_WHILE_INACTIVE) ? 1 : 0;
    return rule;
}

void CRuleDlg::UpdateControls() {
    const HWND dlg = hwnd();
    fw::EnableItems(dlg, {IDC_RULE_CLASS}, fw::CheckState(dlg, IDC_RULE_ONLY_CLASS) != 0);
    fw::EnableItems(dlg, {IDC_RULE_LEVEL_LABEL, IDC_RULE_LEVEL, IDC_RULE_WHILE_INACTIVE},
                    fw::CheckState(dlg, IDC_RULE_TRANSLUCENT) != 0);
    fw::EnableItems(dlg, {IDOK}, IsComplete(ShownRule()));
}

bool CRuleDlg::IsComplete(const app::ProgramRule& rule) const {
    // A class asked for and left empty would make a rule for every class.
    return app::IsUsableRule(rule) && !(fw::CheckState(hwnd(), IDC_RULE_ONLY_CLASS) && rule.Class.empty());
}

INT_PTR CRuleDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            Rule = ShownRule();
            if (IsComplete(Rule)) EndDialog(IDOK);
            return Handled(0);
        case IDCANCEL:
            EndDialog(IDCANCEL);
            return Handled(0);
        case IDC_RULE_PROGRAM:
        case IDC_RULE_CLASS:
            if (HIWORD(wParam) == EN_CHANGE) UpdateControls();
            return Default();
        case IDC_RULE_ONLY_CLASS:
        case IDC_RULE_TRANSLUCENT:
        case IDC_RULE_ON_TOP:
        case IDC_RULE_CLICK_THROUGH:
        case IDC_RULE_WHILE_INACTIVE:
            if (HIWORD(wParam) == BN_CLICKED) UpdateControls();
            return Default();
        default:
            return Default();
        }
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == Item(IDC_RULE_LEVEL))
            ShowLevelText(hwnd(), IDC_RULE_LEVEL_LABEL, fw::TrackbarPos(hwnd(), IDC_RULE_LEVEL));
        return Default();
    case WM_NOTIFY: {
        // A row chosen in the open windows' list gives its program and class.
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (change->hdr.idFrom == IDC_RULE_WINDOWS && change->hdr.code == LVN_ITEMCHANGED &&
            (change->uNewState & ~change->uOldState & LVIS_SELECTED) && change->iItem >= 0 &&
            static_cast<size_t>(change->iItem) < windows_.size()) {
            const shell::ProgramWindow& w = windows_[static_cast<size_t>(change->iItem)];
            fw::SetItemText(hwnd(), IDC_RULE_PROGRAM, w.program);
            fw::SetItemText(hwnd(), IDC_RULE_CLASS, w.className);
        }
        return Default();
    }
    default:
        return fw::Dialog::WindowProc(message, wParam, lParam);
    }
}

}  // namespace ui
