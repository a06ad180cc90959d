// "プログラム別": the rules per program, in a list, added, changed and deleted through
// the rule dialog. The page edits a copy; Apply and OK make it the settings' rules.
#pragma once

#include "clarovia_page.h"
#include "program_rules.h"

namespace ui {

class CRulesPage : public CClaroviaPage {
public:
    CRulesPage();

protected:
    BOOL OnInitDialog() override;
    LRESULT OnApply() override;
    void OnClick(int) override {}
    bool IsClickable(int) const override { return false; }
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Runs the rule dialog on rule `index` of the copy, or on a new rule for -1.
    void EditRule(int index);
    void DeleteRule(int index);
    // Fills the list from the copy with row `selected` selected (none for -1), and
    // enables the buttons as the rules and the selection allow.
    void ShowRules(int selected);
    void UpdateButtons();

    app::ProgramRules rules_;
};

}  // namespace ui
