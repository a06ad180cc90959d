#include "tray_icon.h"

#include "dialog.h"
#include "resource.h"
#include "shell_names.h"
#include "window_util.h"

namespace app {

void TrayIcon::Fill(HWND owner, UINT callbackMessage) {
    data_ = {};
    data_.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data_.hWnd = owner;
    data_.uID = IDI_APP;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    // Lives as long as the program: never destroyed.
    data_.hIcon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    lstrcpynW(data_.szTip, fw::ResourceString(IDS_TRAY_TIP).c_str(), ARRAYSIZE(data_.szTip));
}

bool TrayIcon::Show(bool show) {
    if (!filled()) return true;
    // The request is a message to the taskbar that waits for its answer (with no bound
    // on some systems): a taskbar that does not answer now does not get it, and a hung
    // shell cannot hold the program. A taskbar that comes back announces itself with
    // "TaskbarCreated" if it was restarted, and removes the icons of programs gone.
    const HWND taskbar = FindWindowW(kTaskbarClass, nullptr);
    if (taskbar && !fw::SendBounded(taskbar, WM_NULL, 0, 0)) return false;
    Shell_NotifyIconW(show ? NIM_ADD : NIM_DELETE, &data_);
    return true;
}

void TrayIcon::Remove() { Show(false); }

}  // namespace app
