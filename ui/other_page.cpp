#include "other_page.h"

#include "resource.h"

namespace ui {

namespace {
// Each box with its field, in the order the boxes are compared.
struct Option {
    int id;
    int SettingsFields::*field;
};
constexpr Option kOptions[] = {
    {IDC_OTHER_OVERLAP, &SettingsFields::EnableOverlapTP}, {IDC_OTHER_TOPMOST, &SettingsFields::EnableTopmostTP},
    {IDC_OTHER_HIDE_FLAG, &SettingsFields::HideFlag},      {IDC_OTHER_HIDE_MENU, &SettingsFields::HideMenu},
    {IDC_OTHER_NO_TRAY_ICON, &SettingsFields::NoTaskTrayIcon}, {IDC_OTHER_STARTUP, &SettingsFields::Startup},
    {IDC_OTHER_CLOCK, &SettingsFields::ShowClock}};
}  // namespace

COtherPage::COtherPage() : CTooltipPage(IDD_OTHER_PAGE) {}

BOOL COtherPage::OnInitDialog() {
    const HWND page = hwnd();
    for (const Option& o : kOptions) fw::SetCheck(page, o.id, Settings->*o.field);
    fw::PlaceItems(page, {{IDC_OTHER_CLOCK, 12, 120, 289, 15},
                          {IDC_OTHER_STARTUP, 12, 102, 289, 15},
                          {IDC_OTHER_HIDE_FLAG, 12, 84, 289, 15},
                          {IDC_OTHER_HIDE_MENU, 12, 66, 289, 15},
                          {IDC_OTHER_NO_TRAY_ICON, 12, 48, 289, 15},
                          {IDC_OTHER_OVERLAP, 12, 30, 289, 15},
                          {IDC_OTHER_TOPMOST, 12, 12, 289, 15}});
    AddTooltip(noTrayIconTip_, IDC_OTHER_NO_TRAY_ICON, IDS_TIP_NO_TRAY_ICON);
    return TRUE;
}

bool COtherPage::IsClickable(int id) const {
    for (const Option& o : kOptions)
        if (o.id == id) return true;
    return false;
}

void COtherPage::OnClick(int) {
    for (const Option& o : kOptions) MarkIfDiffers(o.id, Settings->*o.field);
}

LRESULT COtherPage::OnApply() {
    for (const Option& o : kOptions) Settings->*o.field = Check(o.id);
    return PSNRET_NOERROR;
}

}  // namespace ui
