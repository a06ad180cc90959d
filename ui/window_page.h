// "ウインドウ": which title-bar gestures toggle translucency, their level, and the step
// of one wheel notch.
#pragma once

#include "clarovia_page.h"

namespace ui {

class CWindowPage : public CClaroviaPage {
public:
    CWindowPage();

protected:
    BOOL OnInitDialog() override;
    LRESULT OnApply() override;
    void OnClick(int id) override;
    bool IsClickable(int id) const override;
};

}  // namespace ui
