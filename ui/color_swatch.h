// The colour field of the Desktop page: a static control filled with one colour.
#pragma once

#include <windows.h>

#include "control.h"
#include "handles.h"

namespace ui {

class CColorSwatch : public fw::Control {
public:
    CColorSwatch() : FillColor(GetSysColor(COLOR_BTNFACE)) {}

    // The colour to fill with; shown at the next painting.
    void SetColor(COLORREF color) { FillColor = color; }
    COLORREF GetColor() const { return FillColor; }

    // The parent's WM_CTLCOLORSTATIC for this control: the colours, and a brush of the
    // fill colour that stays valid until the next query or the swatch's end.
    HBRUSH OnCtlColor(HDC dc);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();

    COLORREF FillColor;
    COLORREF TextColor = 0;
    fw::GdiObject brush_;
};

}  // namespace ui
