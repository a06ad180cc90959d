#include "taskbar_page.h"

#include "resource.h"
#include "system_version.h"

namespace ui {

CTaskbarPage::CTaskbarPage() : CClaroviaPage(IDD_TASKBAR_PAGE) {
    UseLevel(IDC_TASKBAR_LEVEL, IDC_TASKBAR_LEVEL_LABEL, &SettingsFields::TaskbarTPValue);
    UseMarkingEdits({IDC_START_BUTTON_TEXT});
}

BOOL CTaskbarPage::OnInitDialog() {
    const HWND page = hwnd();
    fw::SetCheck(page, IDC_TASKBAR_ENABLE, Settings->EnableTaskbarTP);
    fw::SetCheck(page, IDC_TASKBAR_START_MENU, Settings->EnableStartMenuTP);
    InitLevel(Settings->TaskbarTPValue);
    PostClick(IDC_TASKBAR_ENABLE);
    fw::SetCheck(page, IDC_START_BUTTON_ENABLE, Settings->EnableStartButtonTP);
    fw::SetItemText(page, IDC_START_BUTTON_TEXT, Settings->StartButtonText);
    PostClick(IDC_START_BUTTON_ENABLE);
    fw::PlaceItems(page, {{IDC_START_BUTTON_TEXT, 121, 106, 165, 20},
                          {IDC_START_BUTTON_ENABLE, 19, 86, 193, 20},
                          {IDC_START_BUTTON_CAPTION, 21, 106, 96, 20},
                          {IDC_START_BUTTON_GROUP, 12, 88, 289, 50},
                          {IDC_TASKBAR_LEVEL, 46, 53, 219, 20},
                          {IDC_TASKBAR_START_MENU, 177, 22, 120, 20},
                          {IDC_TASKBAR_ENABLE, 19, 11, 142, 20},
                          {IDC_TASKBAR_GROUP, 12, 14, 289, 70},
                          {IDC_TASKBAR_LEVEL_LABEL, 40, 35, 109, 18}});
    // The start button's text needs Windows XP or later; Windows 95, 98 and Me have no
    // translucency either. The posted click comes later.
    const fw::WindowsVersion v = fw::QueryWindowsVersion();
    if (v.known && ((v.major == 5 && v.minor == 0) || v.platform == VER_PLATFORM_WIN32_WINDOWS))
        Enable({IDC_START_BUTTON_GROUP, IDC_START_BUTTON_ENABLE, IDC_START_BUTTON_TEXT, IDC_START_BUTTON_CAPTION},
               false);
    return TRUE;
}

bool CTaskbarPage::IsClickable(int id) const {
    return id == IDC_TASKBAR_ENABLE || id == IDC_TASKBAR_START_MENU || id == IDC_START_BUTTON_ENABLE;
}

void CTaskbarPage::OnClick(int id) {
    if (id == IDC_START_BUTTON_ENABLE) {
        MarkIfDiffers(IDC_START_BUTTON_ENABLE, Settings->EnableStartButtonTP);
        Enable({IDC_START_BUTTON_CAPTION, IDC_START_BUTTON_TEXT}, Check(IDC_START_BUTTON_ENABLE) != 0);
        return;
    }
    // The taskbar group: both boxes are compared, whichever was clicked.
    MarkIfDiffers(IDC_TASKBAR_ENABLE, Settings->EnableTaskbarTP);
    MarkIfDiffers(IDC_TASKBAR_START_MENU, Settings->EnableStartMenuTP);
    Enable({IDC_TASKBAR_LEVEL, IDC_TASKBAR_LEVEL_LABEL, IDC_TASKBAR_START_MENU}, Check(IDC_TASKBAR_ENABLE) != 0);
}

LRESULT CTaskbarPage::OnApply() {
    Settings->EnableTaskbarTP = Check(IDC_TASKBAR_ENABLE);
    Settings->TaskbarTPValue = Level();
    Settings->EnableStartMenuTP = Check(IDC_TASKBAR_START_MENU);
    Settings->EnableStartButtonTP = Check(IDC_START_BUTTON_ENABLE);
    // The whole text, as it stands: an empty one included.
    Settings->StartButtonText = fw::ItemText(hwnd(), IDC_START_BUTTON_TEXT);
    return PSNRET_NOERROR;
}

}  // namespace ui
