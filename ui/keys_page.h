// "キー": the hotkeys, one row per action: on or off (the row's check box, with the
// action's name), the Windows key (a check box: the hotkey control cannot show it), the
// rest of the combination (a hotkey control), and whether another program holds it.
#pragma once

#include "clarovia_page.h"

namespace ui {

class CKeysPage : public CClaroviaPage {
public:
    CKeysPage();

protected:
    BOOL OnInitDialog() override;
    LRESULT OnSetActive() override;
    LRESULT OnApply() override;
    void OnClick(int id) override;
    bool IsClickable(int id) const override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Row `row` as the page shows it now.
    app::Hotkey Shown(size_t row) const;
    // The state column: "taken" where a row that is on has a combination that another
    // program holds (one the program holds itself for that row is not).
    void ShowTaken();
};

}  // namespace ui
