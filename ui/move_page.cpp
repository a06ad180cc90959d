#include "move_page.h"

#include <climits>
#include <cwchar>
#include <string>

#include "decimal.h"
#include "resource.h"
#include "system_version.h"

namespace ui {

namespace {
// The number a text starts with, as atoi reads it (leading blanks, a sign, digits up
// to the first other character; 0 without digits), beyond the range of int saturated.
int LeadingNumber(const std::wstring& text) {
    const long value = std::wcstol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
}  // namespace

CMovePage::CMovePage() : CClaroviaPage(IDD_MOVE_PAGE) {
    UseLevel(IDC_MOVE_LEVEL, IDC_MOVE_LEVEL_LABEL, &SettingsFields::MoveTPValue);
    UseMarkingEdits({IDC_MOVE_WIDTH, IDC_MOVE_HEIGHT});
}

void CMovePage::ShowSize() {
    fw::SetItemText(hwnd(), IDC_MOVE_WIDTH, fw::Decimal(Settings->MoveTPW));
    fw::SetItemText(hwnd(), IDC_MOVE_HEIGHT, fw::Decimal(Settings->MoveTPH));
}

BOOL CMovePage::OnInitDialog() {
    const HWND page = hwnd();
    fw::SetCheck(page, IDC_MOVE_ENABLE, Settings->EnableMoveTP);
    InitLevel(Settings->MoveTPValue);
    fw::SetCheck(page, IDC_MOVE_LIMIT, Settings->EnableMoveTPLimit);
    ShowSize();
    PostClick(IDC_MOVE_LIMIT);
    PostClick(IDC_MOVE_ENABLE);
    // The height's caption reaches up to its edit: at 28 pixels its colon broke onto a
    // line of its own, cut off.
    fw::PlaceItems(page,
                   {{IDC_MOVE_WIDTH_CAPTION, 60, 105, 28, 20},
                    {IDC_MOVE_HEIGHT_CAPTION, 165, 105, 36, 20},
                    {IDC_MOVE_HEIGHT, 201, 105, 56, 20},
                    {IDC_MOVE_WIDTH, 88, 105, 56, 20},
                    {IDC_MOVE_LIMIT, 40, 82, 250, 18},
                    {IDC_MOVE_LEVEL, 46, 53, 219, 20},
                    {IDC_MOVE_ENABLE, 19, 11, 187, 20},
                    {IDC_MOVE_GROUP, 12, 14, 289, 124},
                    {IDC_MOVE_LEVEL_LABEL, 40, 35, 109, 18}},
                   LANG_ENGLISH, {{IDC_MOVE_WIDTH_CAPTION, 44, 105, 44, 20}, {IDC_MOVE_HEIGHT_CAPTION, 153, 105, 48, 20}});
    // Windows 95, 98 and Me: no translucency there. The posted clicks come later.
    const fw::WindowsVersion v = fw::QueryWindowsVersion();
    if (v.known && v.platform == VER_PLATFORM_WIN32_WINDOWS)
        Enable({IDC_MOVE_ENABLE, IDC_MOVE_LEVEL, IDC_MOVE_LIMIT, IDC_MOVE_WIDTH, IDC_MOVE_HEIGHT,
                IDC_MOVE_WIDTH_CAPTION, IDC_MOVE_HEIGHT_CAPTION},
               false);
    return TRUE;
}

bool CMovePage::IsClickable(int id) const { return id == IDC_MOVE_LIMIT || id == IDC_MOVE_ENABLE; }

void CMovePage::OnClick(int id) {
    const std::initializer_list<int> kSize = {IDC_MOVE_WIDTH_CAPTION, IDC_MOVE_WIDTH, IDC_MOVE_HEIGHT_CAPTION,
                                                  IDC_MOVE_HEIGHT};
    if (id == IDC_MOVE_LIMIT) {
        MarkIfDiffers(IDC_MOVE_LIMIT, Settings->EnableMoveTPLimit);
        Enable(kSize, Check(IDC_MOVE_LIMIT) != 0);
        return;
    }
    MarkIfDiffers(IDC_MOVE_ENABLE, Settings->EnableMoveTP);
    if (!Check(IDC_MOVE_ENABLE)) {
        Enable({IDC_MOVE_LEVEL, IDC_MOVE_LEVEL_LABEL, IDC_MOVE_LIMIT}, false);
        Enable(kSize, false);
    } else {
        Enable({IDC_MOVE_LEVEL, IDC_MOVE_LEVEL_LABEL, IDC_MOVE_LIMIT}, true);
        if (Check(IDC_MOVE_LIMIT)) Enable(kSize, true);
    }
}

LRESULT CMovePage::OnApply() {
    const HWND page = hwnd();
    Settings->EnableMoveTP = Check(IDC_MOVE_ENABLE);
    Settings->MoveTPValue = Level();
    Settings->EnableMoveTPLimit = Check(IDC_MOVE_LIMIT);
    // 0, negative numbers and texts without a number keep the value in force; the
    // height must exceed a caption's.
    const int width = LeadingNumber(fw::ItemText(page, IDC_MOVE_WIDTH));
    if (width > 0) Settings->MoveTPW = width;
    const int height = LeadingNumber(fw::ItemText(page, IDC_MOVE_HEIGHT));
    if (height > GetSystemMetrics(SM_CYCAPTION)) Settings->MoveTPH = height;
    ShowSize();
    return PSNRET_NOERROR;
}

}  // namespace ui
