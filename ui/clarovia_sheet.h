// The settings sheet: nine pages that edit the program's settings in place. OK and
// Apply store what the pages show; making it take effect is the program's apply step,
// which the Apply button asks of the sheet's owner with WM_APPLY_SETTINGS.
#pragma once

#include <windows.h>

#include "desktop_page.h"
#include "handles.h"
#include "keys_page.h"
#include "move_page.h"
#include "other_page.h"
#include "property_sheet.h"
#include "rules_page.h"
#include "shade_page.h"
#include "settings_fields.h"
#include "size_page.h"
#include "taskbar_page.h"
#include "window_page.h"

namespace ui {

using app::SettingsFields;

class CClaroviaSheet : public fw::PropertySheetDialog {
public:
    // The caption is string resource `captionId`; the sheet opens on page `initialPage`.
    CClaroviaSheet(UINT captionId, HWND parent, int initialPage, SettingsFields* settings);

    // The page shown when the sheet opens; when it has closed, the page that was on top.
    int PageIndex;

protected:
    void OnInitSheet() override;
    void OnApplyNow() override;
    void OnEndSheet() override;

private:
    // In tab order.
    CWindowPage WindowPage;
    CMovePage MovePage;
    CSizePage SizePage;
    CTaskbarPage TaskbarPage;
    CDesktopPage DesktopPage;
    CShadePage ShadePage;
    COtherPage OtherPage;
    CRulesPage RulesPage;
    CKeysPage KeysPage;
    fw::Icon SheetIcon;
};

}  // namespace ui
