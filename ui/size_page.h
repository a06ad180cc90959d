// "サイズ変更": translucency while a window is resized, and its level.
#pragma once

#include "clarovia_page.h"

namespace ui {

class CSizePage : public CClaroviaPage {
public:
    CSizePage();

protected:
    BOOL OnInitDialog() override;
    LRESULT OnApply() override;
    void OnClick(int id) override;
    bool IsClickable(int id) const override;
};

}  // namespace ui
