// "シェード": rolling a window up to its title bar by a double-click (on the whole title
// bar or one half of it) and by a right click.
#pragma once

#include "clarovia_page.h"

namespace ui {

class CShadePage : public CTooltipPage {
public:
    CShadePage();

protected:
    BOOL OnInitDialog() override;
    LRESULT OnApply() override;
    void OnClick(int id) override;
    bool IsClickable(int id) const override;

private:
    // The area the radio buttons select (0 whole, 1 left half, 2 right half); -1: none.
    int SelectedArea() const;

    fw::Tooltip rightClickTip_;
};

}  // namespace ui
