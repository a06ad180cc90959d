// The desktop's icon list view: "SysListView32" in "SHELLDLL_DefView" in the
// "Progman" window titled "Program Manager".
#pragma once

#include <windows.h>
#include <commctrl.h>

HWND FindDesktopListView();

// Asks the list view for one of its colours (LVM_GETTEXTCOLOR, LVM_GETTEXTBKCOLOR);
// 0 if it does not answer.
COLORREF DesktopListColor(HWND list, UINT message);
