#include "color_swatch.h"

#include <string>

#include "window_util.h"

namespace ui {

HBRUSH CColorSwatch::OnCtlColor(HDC dc) {
    SetTextColor(dc, TextColor);
    SetBkColor(dc, FillColor);
    brush_.reset(CreateSolidBrush(FillColor));
    return static_cast<HBRUSH>(brush_.get());
}

LRESULT CColorSwatch::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SYSCOLORCHANGE: {
        // Painted again; the fill is the user's colour, not a system one, and stays.
        const LRESULT result = Default(message, wParam, lParam);
        InvalidateRect(hwnd(), nullptr, TRUE);
        return result;
    }
    default:
        return Default(message, wParam, lParam);
    }
}

void CColorSwatch::Paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd(), &ps);
    RECT rc;
    GetClientRect(hwnd(), &rc);
    const std::wstring text = fw::WindowText(hwnd());
    {
        const fw::GdiObject fill(CreateSolidBrush(FillColor));
        FillRect(dc, &rc, static_cast<HBRUSH>(fill.get()));
    }
    const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    // The text with a one-pixel white shadow towards the lower right.
    RECT shadow = rc;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, DT_SINGLELINE | DT_VCENTER);
    SetTextColor(dc, TextColor);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, oldFont);
    EndPaint(hwnd(), &ps);
}

}  // namespace ui
