#include "desktop_page.h"

#include <commdlg.h>

#include "library.h"
#include "resource.h"

namespace ui {

namespace {
// The chooser's custom colours, kept for the program's life.
COLORREF g_customColors[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
}  // namespace

CDesktopPage::CDesktopPage() : CTooltipPage(IDD_DESKTOP_PAGE) {}

BOOL CDesktopPage::OnInitDialog() {
    const HWND page = hwnd();
    swatch_.Attach(page, IDC_DESKTOP_SWATCH);
    fw::SetCheck(page, IDC_DESKTOP_BK_MODE, Settings->DeskTopIconBkMode);
    fw::SetCheck(page, IDC_DESKTOP_COLOR_MODE, Settings->DeskTopIconTextColorMode);
    swatch_.SetColor(static_cast<COLORREF>(Settings->DeskTopIconTextColor));
    PostClick(IDC_DESKTOP_COLOR_MODE);
    fw::PlaceItems(page, {{IDC_DESKTOP_SWATCH_CAPTION, 44, 56, 116, 23},
                          {IDC_DESKTOP_SWATCH, 168, 56, 53, 23},
                          {IDC_DESKTOP_CHOOSE, 228, 56, 40, 23},
                          {IDC_DESKTOP_COLOR_MODE, 19, 32, 182, 20},
                          {IDC_DESKTOP_GROUP, 12, 35, 289, 59},
                          {IDC_DESKTOP_BK_MODE, 12, 11, 300, 17}},
                   LANG_ENGLISH, {{IDC_DESKTOP_CHOOSE, 228, 56, 64, 23}});
    AddTooltip(bkModeTip_, IDC_DESKTOP_BK_MODE, IDS_TIP_DESKTOP);
    AddTooltip(colorModeTip_, IDC_DESKTOP_COLOR_MODE, IDS_TIP_DESKTOP);
    return TRUE;
}

bool CDesktopPage::IsClickable(int id) const { return id == IDC_DESKTOP_COLOR_MODE || id == IDC_DESKTOP_BK_MODE; }

void CDesktopPage::OnClick(int id) {
    if (id == IDC_DESKTOP_BK_MODE) {
        MarkIfDiffers(IDC_DESKTOP_BK_MODE, Settings->DeskTopIconBkMode);
        return;
    }
    MarkIfDiffers(IDC_DESKTOP_COLOR_MODE, Settings->DeskTopIconTextColorMode);
    Enable({IDC_DESKTOP_SWATCH_CAPTION, IDC_DESKTOP_CHOOSE, IDC_DESKTOP_SWATCH}, Check(IDC_DESKTOP_COLOR_MODE) != 0);
    InvalidateRect(swatch_.hwnd(), nullptr, TRUE);
}

INT_PTR CDesktopPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_DESKTOP_CHOOSE && HIWORD(wParam) == BN_CLICKED) {
            PickColor();
            return Handled(0);
        }
        break;
    case WM_CTLCOLORSTATIC:
        // The swatch answers for itself.
        if (reinterpret_cast<HWND>(lParam) == swatch_.hwnd() && swatch_.hwnd())
            return reinterpret_cast<INT_PTR>(swatch_.OnCtlColor(reinterpret_cast<HDC>(wParam)));
        break;
    default:
        break;
    }
    return CTooltipPage::WindowProc(message, wParam, lParam);
}

void CDesktopPage::PickColor() {
    // Not told to start from any colour, the stored one included.
    CHOOSECOLORW cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = hwnd();
    cc.rgbResult = 0;
    cc.lpCustColors = g_customColors;
    // The common dialogs are loaded for this dialog only.
    const auto choose = fw::SystemProc<decltype(&ChooseColorW)>(L"comdlg32.dll", "ChooseColorW");
    if (!choose || !choose(&cc)) return;
    if (cc.rgbResult != static_cast<COLORREF>(Settings->DeskTopIconTextColor)) MarkChanged();
    swatch_.SetColor(cc.rgbResult);
    InvalidateRect(swatch_.hwnd(), nullptr, TRUE);
}

LRESULT CDesktopPage::OnApply() {
    Settings->DeskTopIconBkMode = Check(IDC_DESKTOP_BK_MODE);
    Settings->DeskTopIconTextColorMode = Check(IDC_DESKTOP_COLOR_MODE);
    Settings->DeskTopIconTextColor = static_cast<int>(swatch_.GetColor());
    return PSNRET_NOERROR;
}

}  // namespace ui
