#include "rules_page.h"

#include <commctrl.h>

#include "decimal.h"
#include "resource.h"
#include "resource_language.h"
#include "rule_dlg.h"

namespace ui {

CRulesPage::CRulesPage() : CClaroviaPage(IDD_RULES_PAGE) {}

BOOL CRulesPage::OnInitDialog() {
    const HWND list = Item(IDC_RULES_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // English takes room from the class for the level's longer heading.
    const bool english = fw::ResourceLanguageIs(LANG_ENGLISH);
    fw::AddListColumn(list, 0, fw::ResourceString(IDS_RULES_COLUMN_PROGRAM), 92);
    fw::AddListColumn(list, 1, fw::ResourceString(IDS_RULES_COLUMN_CLASS), english ? 66 : 76);
    fw::AddListColumn(list, 2, fw::ResourceString(IDS_RULES_COLUMN_LEVEL), english ? 60 : 50);
    fw::AddListColumn(list, 3, fw::ResourceString(IDS_RULES_COLUMN_ON_TOP), 50);
    rules_ = Settings->Rules;
    fw::PlaceItems(hwnd(), {{IDC_RULES_DELETE, 221, 118, 80, 22},
                            {IDC_RULES_CHANGE, 135, 118, 80, 22},
                            {IDC_RULES_ADD, 49, 118, 80, 22},
                            {IDC_RULES_LIST, 12, 8, 289, 104}});
    ShowRules(-1);
    return TRUE;
}

LRESULT CRulesPage::OnApply() {
    Settings->Rules = rules_;
    return PSNRET_NOERROR;
}

void CRulesPage::ShowRules(int selected) {
    const HWND list = Item(IDC_RULES_LIST);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    const std::wstring anyClass = fw::ResourceString(IDS_RULES_ANY_CLASS);
    const std::wstring noLevel = fw::ResourceString(IDS_RULES_NO_LEVEL);
    const std::wstring onTop = fw::ResourceString(IDS_RULES_ON_TOP);
    for (const app::ProgramRule& rule : rules_)
        fw::AddListRow(list, {rule.Program.c_str(), rule.Class.empty() ? anyClass.c_str() : rule.Class.c_str(),
                              rule.Level ? fw::Decimal(rule.Level).c_str() : noLevel.c_str(),
                              rule.OnTop ? onTop.c_str() : L""});
    if (selected >= 0) fw::SelectListRow(list, selected);
    UpdateButtons();
}

void CRulesPage::UpdateButtons() {
    const bool selected = fw::ListSelection(Item(IDC_RULES_LIST)) >= 0;
    Enable({IDC_RULES_ADD}, rules_.size() < app::kMaxProgramRules);
    Enable({IDC_RULES_CHANGE, IDC_RULES_DELETE}, selected);
    // A button that lost its enabled state had the keyboard: the list takes it.
    const HWND focus = GetFocus();
    if (focus && GetParent(focus) == hwnd() && !IsWindowEnabled(focus)) SetFocus(Item(IDC_RULES_LIST));
}

void CRulesPage::EditRule(int index) {
    const bool adding = index < 0;
    if (adding && rules_.size() >= app::kMaxProgramRules) return;
    CRuleDlg dialog(GetParent(hwnd()), adding ? app::ProgramRule{} : rules_[static_cast<size_t>(index)]);
    if (dialog.DoModal() != IDOK) return;
    // A rule for the same program and class as another one takes its place.
    const size_t at = app::PutRule(rules_, dialog.Rule, adding ? app::kNoRule : static_cast<size_t>(index));
    if (at == app::kNoRule) return;
    MarkChanged();
    ShowRules(static_cast<int>(at));
}

void CRulesPage::DeleteRule(int index) {
    rules_.erase(rules_.begin() + index);
    MarkChanged();
    const int rest = static_cast<int>(rules_.size());
    ShowRules(index < rest ? index : rest - 1);
}

INT_PTR CRulesPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        const int selected = fw::ListSelection(Item(IDC_RULES_LIST));
        switch (LOWORD(wParam)) {
        case IDC_RULES_ADD:
            EditRule(-1);
            return Handled(0);
        case IDC_RULES_CHANGE:
            if (selected >= 0) EditRule(selected);
            return Handled(0);
        case IDC_RULES_DELETE:
            if (selected >= 0) DeleteRule(selected);
            return Handled(0);
        default:
            break;
        }
    } else if (message == WM_NOTIFY) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->idFrom == IDC_RULES_LIST && hdr->code == LVN_ITEMCHANGED) {
            UpdateButtons();
        } else if (hdr->idFrom == IDC_RULES_LIST && hdr->code == NM_DBLCLK) {
            // A double-click on a row changes its rule.
            const int selected = fw::ListSelection(hdr->hwndFrom);
            if (selected >= 0) EditRule(selected);
            return Handled(0);
        }
    }
    return CClaroviaPage::WindowProc(message, wParam, lParam);
}

}  // namespace ui
