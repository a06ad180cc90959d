#include "window_page.h"

#include "resource.h"

namespace ui {

CWindowPage::CWindowPage() : CClaroviaPage(IDD_WINDOW_PAGE) {
    UseLevel(IDC_WINDOW_LEVEL, IDC_WINDOW_LEVEL_LABEL, &SettingsFields::ClaroviaValue);
    UseMarkingUpDown(IDC_WINDOW_STEP);
}

BOOL CWindowPage::OnInitDialog() {
    const HWND page = hwnd();
    fw::SetCheck(page, IDC_WINDOW_SCLICK, Settings->EnableSClickTP);
    fw::SetCheck(page, IDC_WINDOW_MCLICK, Settings->EnableMClickTP);
    fw::SetCheck(page, IDC_WINDOW_WHEEL, Settings->EnableWheelTP);
    InitLevel(Settings->ClaroviaValue);
    // The edit is read-only, so only the arrows change the step.
    const app::NumberRange step = app::RangeOf(&SettingsFields::WheelStep);
    fw::InitUpDown(page, IDC_WINDOW_STEP, IDC_WINDOW_STEP_EDIT, step.low, step.high, Settings->WheelStep);
    PostClick(IDC_WINDOW_SCLICK);
    fw::PlaceItems(page, {{IDC_WINDOW_GROUP, 12, 14, 289, 124},
                          {IDC_WINDOW_LEVEL_LABEL, 40, 89, 109, 14},
                          {IDC_WINDOW_LEVEL, 46, 107, 219, 20},
                          {IDC_WINDOW_STEP_CAPTION, 224, 68, 31, 15},
                          {IDC_WINDOW_STEP, 270, 65, 17, 19},
                          {IDC_WINDOW_STEP_EDIT, 255, 65, 22, 19},
                          {IDC_WINDOW_WHEEL, 23, 68, 200, 15},
                          {IDC_WINDOW_MCLICK, 23, 50, 270, 15},
                          {IDC_WINDOW_SCLICK, 23, 32, 270, 15}});
    return TRUE;
}

bool CWindowPage::IsClickable(int id) const {
    return id == IDC_WINDOW_SCLICK || id == IDC_WINDOW_MCLICK || id == IDC_WINDOW_WHEEL;
}

void CWindowPage::OnClick(int) {
    // The three gestures are one group: all three are compared, whichever was clicked.
    MarkIfDiffers(IDC_WINDOW_SCLICK, Settings->EnableSClickTP);
    MarkIfDiffers(IDC_WINDOW_MCLICK, Settings->EnableMClickTP);
    MarkIfDiffers(IDC_WINDOW_WHEEL, Settings->EnableWheelTP);
    const bool anyGesture = Check(IDC_WINDOW_SCLICK) || Check(IDC_WINDOW_MCLICK) || Check(IDC_WINDOW_WHEEL);
    Enable({IDC_WINDOW_LEVEL, IDC_WINDOW_LEVEL_LABEL}, anyGesture);
    Enable({IDC_WINDOW_STEP_CAPTION, IDC_WINDOW_STEP, IDC_WINDOW_STEP_EDIT}, Check(IDC_WINDOW_WHEEL) != 0);
}

LRESULT CWindowPage::OnApply() {
    const HWND page = hwnd();
    Settings->EnableSClickTP = Check(IDC_WINDOW_SCLICK);
    Settings->EnableMClickTP = Check(IDC_WINDOW_MCLICK);
    Settings->EnableWheelTP = Check(IDC_WINDOW_WHEEL);
    Settings->ClaroviaValue = Level();
    Settings->WheelStep = fw::UpDownPos(page, IDC_WINDOW_STEP, Settings->WheelStep);
    return PSNRET_NOERROR;
}

}  // namespace ui
