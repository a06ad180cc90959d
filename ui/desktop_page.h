// "デスクトップ": the desktop icon labels, without background and in a colour of the
// user's choosing (chosen with the system's colour chooser, shown in a swatch).
#pragma once

#include "clarovia_page.h"
#include "color_swatch.h"

namespace ui {

class CDesktopPage : public CTooltipPage {
public:
    CDesktopPage();

protected:
    BOOL OnInitDialog() override;
    LRESULT OnApply() override;
    void OnClick(int id) override;
    bool IsClickable(int id) const override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PickColor();

    fw::Tooltip bkModeTip_;
    fw::Tooltip colorModeTip_;
    CColorSwatch swatch_;
};

}  // namespace ui
