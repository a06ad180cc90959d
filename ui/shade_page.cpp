#include "shade_page.h"

#include "resource.h"

namespace ui {

CShadePage::CShadePage() : CTooltipPage(IDD_SHADE_PAGE) {}

BOOL CShadePage::OnInitDialog() {
    const HWND page = hwnd();
    fw::SetCheck(page, IDC_SHADE_DOUBLE_CLICK, Settings->EnableShadeTP);
    fw::SetCheck(page, IDC_SHADE_RIGHT_CLICK, Settings->ShadeRight);
    for (const int radio : {IDC_SHADE_LEFT_HALF, IDC_SHADE_RIGHT_HALF, IDC_SHADE_WHOLE}) fw::SetCheck(page, radio, 0);
    // Any other stored area leaves all three cleared.
    switch (Settings->ShadeArea) {
    case 0:
        fw::SetCheck(page, IDC_SHADE_WHOLE, 1);
        break;
    case 1:
        fw::SetCheck(page, IDC_SHADE_LEFT_HALF, 1);
        break;
    case 2:
        fw::SetCheck(page, IDC_SHADE_RIGHT_HALF, 1);
        break;
    default:
        break;
    }
    PostClick(IDC_SHADE_DOUBLE_CLICK);
    fw::PlaceItems(page, {{IDC_SHADE_WHOLE, 32, 85, 289, 15},
                          {IDC_SHADE_RIGHT_HALF, 32, 67, 289, 15},
                          {IDC_SHADE_LEFT_HALF, 32, 49, 289, 15},
                          {IDC_SHADE_DOUBLE_CLICK, 12, 31, 289, 15},
                          {IDC_SHADE_RIGHT_CLICK, 12, 12, 289, 15}});
    AddTooltip(rightClickTip_, IDC_SHADE_RIGHT_CLICK, IDS_TIP_SHADE_RIGHT_CLICK);
    return TRUE;
}

bool CShadePage::IsClickable(int id) const {
    return id == IDC_SHADE_LEFT_HALF || id == IDC_SHADE_RIGHT_HALF || id == IDC_SHADE_WHOLE ||
           id == IDC_SHADE_DOUBLE_CLICK || id == IDC_SHADE_RIGHT_CLICK;
}

int CShadePage::SelectedArea() const {
    if (Check(IDC_SHADE_LEFT_HALF)) return 1;
    if (Check(IDC_SHADE_RIGHT_HALF)) return 2;
    if (Check(IDC_SHADE_WHOLE)) return 0;
    return -1;
}

void CShadePage::OnClick(int id) {
    switch (id) {
    case IDC_SHADE_LEFT_HALF:
    case IDC_SHADE_RIGHT_HALF:
    case IDC_SHADE_WHOLE: {
        // The group as a whole; a click leaves one selected.
        const int area = SelectedArea();
        if ((area < 0 ? 0 : area) != Settings->ShadeArea) MarkChanged();
        break;
    }
    case IDC_SHADE_DOUBLE_CLICK:
        MarkIfDiffers(IDC_SHADE_DOUBLE_CLICK, Settings->EnableShadeTP);
        Enable({IDC_SHADE_LEFT_HALF, IDC_SHADE_RIGHT_HALF, IDC_SHADE_WHOLE}, Check(IDC_SHADE_DOUBLE_CLICK) != 0);
        break;
    case IDC_SHADE_RIGHT_CLICK:
        MarkIfDiffers(IDC_SHADE_RIGHT_CLICK, Settings->ShadeRight);
        break;
    default:
        break;
    }
}

LRESULT CShadePage::OnApply() {
    Settings->EnableShadeTP = Check(IDC_SHADE_DOUBLE_CLICK);
    Settings->ShadeRight = Check(IDC_SHADE_RIGHT_CLICK);
    // None selected (a stored area the page does not know): the stored one stays.
    if (const int area = SelectedArea(); area >= 0) Settings->ShadeArea = area;
    return PSNRET_NOERROR;
}

}  // namespace ui
