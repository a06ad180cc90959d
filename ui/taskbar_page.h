// "タスクバー": the translucent taskbar (and start menu) and its level; the start
// button's text.
#pragma once

#include "clarovia_page.h"

namespace ui {

class CTaskbarPage : public CClaroviaPage {
public:
    CTaskbarPage();

protected:
    BOOL OnInitDialog() override;
    LRESULT OnApply() override;
    void OnClick(int id) override;
    bool IsClickable(int id) const override;
};

}  // namespace ui
