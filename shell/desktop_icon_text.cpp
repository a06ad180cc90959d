#include "desktop_icon_text.h"

#include <commctrl.h>

#include "window_util.h"

namespace {
HWND ListViewIn(HWND host) {
    const HWND view = host ? FindWindowExW(host, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
    return view ? FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
}

void SendColor(HWND list, UINT message, COLORREF color) {
    fw::SendBounded(list, message, 0, static_cast<LPARAM>(color));
}
}  // namespace

HWND FindDesktopListView() {
    if (const HWND list = ListViewIn(FindWindowW(L"Progman", L"Program Manager"))) return list;
    // With a slideshow wallpaper (Windows 7 and later) the desktop's view lives in a
    // top-level "WorkerW" instead.
    HWND worker = nullptr;
    while ((worker = FindWindowExW(nullptr, worker, L"WorkerW", nullptr)) != nullptr)
        if (const HWND list = ListViewIn(worker)) return list;
    return nullptr;
}

COLORREF DesktopListColor(HWND list, UINT message) {
    LRESULT color = 0;
    return fw::SendBounded(list, message, 0, 0, &color) ? static_cast<COLORREF>(color) : 0;
}

void DesktopIconText::Apply(const IconTextLook& look) {
    const HWND list = FindDesktopListView();
    if (list) {
        SendColor(list, LVM_SETTEXTBKCOLOR, look.bkMode ? CLR_NONE : look.initialBk);
        SendColor(list, LVM_SETTEXTCOLOR, look.textColorMode ? look.textColor : look.initialText);
    }
    if (AppliedIconBkMode == look.bkMode && AppliedIconTextColorMode == look.textColorMode &&
        AppliedIconTextColor == look.textColor)
        return;
    if (list) InvalidateRect(list, nullptr, TRUE);
    AppliedIconBkMode = look.bkMode;
    AppliedIconTextColorMode = look.textColorMode;
    AppliedIconTextColor = look.textColor;
}

void DesktopIconText::Reassert(const IconTextLook& look) const {
    if (!look.bkMode && !look.textColorMode) return;
    const HWND list = FindDesktopListView();
    if (!list) return;
    if (look.bkMode) SendColor(list, LVM_SETTEXTBKCOLOR, CLR_NONE);
    if (look.textColorMode) SendColor(list, LVM_SETTEXTCOLOR, look.textColor);
    InvalidateRect(list, nullptr, TRUE);
}
