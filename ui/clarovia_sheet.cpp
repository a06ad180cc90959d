#include "clarovia_sheet.h"

#include "controls.h"
#include "dialog.h"
#include "program_messages.h"
#include "resource.h"

namespace ui {

CClaroviaSheet::CClaroviaSheet(UINT captionId, HWND parent, int initialPage, SettingsFields* settings)
    : fw::PropertySheetDialog(fw::ResourceString(captionId), parent, 0) {
    for (CClaroviaPage* page : std::initializer_list<CClaroviaPage*>{&WindowPage, &MovePage, &SizePage, &TaskbarPage,
                                                                     &DesktopPage, &ShadePage, &OtherPage, &RulesPage,
                                                                     &KeysPage}) {
        page->Settings = settings;
        AddPage(page);
    }
    PageIndex = initialPage;
}

void CClaroviaSheet::OnInitSheet() {
    const HWND sheet = hwnd();
    SheetIcon.reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    SendMessageW(sheet, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(SheetIcon.get()));
    SendMessageW(sheet, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SheetIcon.get()));

    // A fixed size for the tab control and the sheet, in the topmost band. (The tab
    // control keeps its place in the z-order, below the pages.)
    SetWindowPos(PropSheet_GetTabControl(sheet), nullptr, 0, 0, fw::ScaleX(322), fw::ScaleY(192),
                 SWP_NOMOVE | SWP_NOZORDER);
    // The pages made so far were sized from their templates, for the larger tab.
    FitPages();
    const int height = 2 * (GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYEDGE)) +
                       GetSystemMetrics(SM_CYCAPTION) + fw::ScaleY(230);
    SetWindowPos(sheet, HWND_TOPMOST, 0, 0, fw::ScaleX(343), height, SWP_NOMOVE);

    // The buttons on one line, each by its right edge.
    struct Button {
        int id;
        int right;
        UINT extra;
    };
    for (const Button b : {Button{IDOK, 142, 0}, Button{IDCANCEL, 235, 0}, Button{fw::ID_APPLY_NOW, 328, SWP_SHOWWINDOW}}) {
        const HWND button = GetDlgItem(sheet, b.id);
        if (!button) continue;
        RECT rc;
        GetWindowRect(button, &rc);
        SetWindowPos(button, nullptr, fw::ScaleX(b.right) - (rc.right - rc.left), fw::ScaleY(205), 0, 0,
                     SWP_NOSIZE | b.extra);
    }

    if (PageAt(PageIndex)) PropSheet_SetCurSel(sheet, nullptr, PageIndex);
    SetForegroundWindow(sheet);
}

void CClaroviaSheet::OnApplyNow() {
    // The pages have stored their values: the owner makes them take effect.
    PostMessageW(parent(), app::WM_APPLY_SETTINGS, 0, 0);
}

void CClaroviaSheet::OnEndSheet() { PageIndex = ActivePageIndex(); }

}  // namespace ui
