// "その他": seven independent options (topmost toggle, overlap correction, no tray icon,
// Explorer menu and logo, startup shortcut, title-bar clock).
#pragma once

#include "clarovia_page.h"

namespace ui {

class COtherPage : public CTooltipPage {
public:
    COtherPage();

protected:
    BOOL OnInitDialog() override;
    LRESULT OnApply() override;
    void OnClick(int id) override;
    bool IsClickable(int id) const override;

private:
    fw::Tooltip noTrayIconTip_;
};

}  // namespace ui
