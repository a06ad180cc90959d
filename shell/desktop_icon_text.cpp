#include "desktop_icon_text.h"

#include <commctrl.h>

#include "window_util.h"

namespace shell {

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

std::optional<COLORREF> DesktopListColor(HWND list, UINT message) {
    LRESULT color = 0;
    if (!fw::SendBounded(list, message, 0, 0, &color)) return std::nullopt;
    return static_cast<COLORREF>(color);
}

void CDesktopIconText::Apply(const IconTextLook& look) {
    const HWND list = FindDesktopListView();
    if (list) {
        if (look.initialBk) SendColor(list, LVM_SETTEXTBKCOLOR, look.bkMode ? CLR_NONE : *look.initialBk);
        if (look.initialText) SendColor(list, LVM_SETTEXTCOLOR, look.textColorMode ? look.textColor : *look.initialText);
    }
    if (AppliedIconBkMode == look.bkMode && AppliedIconTextColorMode == look.textColorMode &&
        AppliedIconTextColor == look.textColor)
        return;
    if (list) InvalidateRect(list, nullptr, TRUE);
    AppliedIconBkMode = look.bkMode;
    AppliedIconTextColorMode = look.textColorMode;
    AppliedIconTextColor = look.textColor;
}

void CDesktopIconText::Reassert(const IconTextLook& look) const {
    const bool bk = look.bkMode && look.initialBk, text = look.textColorMode && look.initialText;
    if (!bk && !text) return;
    const HWND list = FindDesktopListView();
    if (!list) return;
    if (bk) SendColor(list, LVM_SETTEXTBKCOLOR, CLR_NONE);
    if (text) SendColor(list, LVM_SETTEXTCOLOR, look.textColor);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace shell
