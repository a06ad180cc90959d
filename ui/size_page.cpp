#include "size_page.h"

#include "resource.h"
#include "system_version.h"

namespace ui {

CSizePage::CSizePage() : CClaroviaPage(IDD_SIZE_PAGE) {
    UseLevel(IDC_SIZE_LEVEL, IDC_SIZE_LEVEL_LABEL, &SettingsFields::SizingTPValue);
}

BOOL CSizePage::OnInitDialog() {
    const HWND page = hwnd();
    fw::SetCheck(page, IDC_SIZE_ENABLE, Settings->EnableSizingTP);
    InitLevel(Settings->SizingTPValue);
    PostClick(IDC_SIZE_ENABLE);
    fw::PlaceItems(page, {{IDC_SIZE_LEVEL, 46, 53, 219, 20},
                          {IDC_SIZE_ENABLE, 19, 11, 221, 20},
                          {IDC_SIZE_GROUP, 12, 14, 289, 70},
                          {IDC_SIZE_LEVEL_LABEL, 40, 35, 109, 18}});
    // Windows 95, 98 and Me: no translucency there. The posted click comes later.
    const fw::WindowsVersion v = fw::QueryWindowsVersion();
    if (v.known && v.platform == VER_PLATFORM_WIN32_WINDOWS) Enable({IDC_SIZE_ENABLE, IDC_SIZE_LEVEL}, false);
    return TRUE;
}

bool CSizePage::IsClickable(int id) const { return id == IDC_SIZE_ENABLE; }

void CSizePage::OnClick(int) {
    MarkIfDiffers(IDC_SIZE_ENABLE, Settings->EnableSizingTP);
    Enable({IDC_SIZE_LEVEL_LABEL, IDC_SIZE_LEVEL}, Check(IDC_SIZE_ENABLE) != 0);
}

LRESULT CSizePage::OnApply() {
    Settings->EnableSizingTP = Check(IDC_SIZE_ENABLE);
    Settings->SizingTPValue = Level();
    return PSNRET_NOERROR;
}

}  // namespace ui
