// "移動": translucency while a window is moved, its level, and the optional size limit.
#pragma once

#include "clarovia_page.h"

namespace ui {

class CMovePage : public CClaroviaPage {
public:
    CMovePage();

protected:
    BOOL OnInitDialog() override;
    LRESULT OnApply() override;
    void OnClick(int id) override;
    bool IsClickable(int id) const override;

private:
    void ShowSize();
};

}  // namespace ui
