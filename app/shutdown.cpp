// After the hidden main window is destroyed: give back what the program changed in
// other windows, remove the tray icon, stop and unload the library. The settings are
// written when the window object is deleted afterwards.
#include "main_hidden_dlg.h"

void CMainHiddenDlg::PostNcDestroy() {
    RestoreClockTitle();
    for (const ShadeRecord& record : ShadedWindows)
        if (IsWindow(record.window)) ResizeKeepingPosition(record.window, record.height);
    ShadedWindows.clear();
    if (TrayIcon.cbSize) Shell_NotifyIconW(NIM_DELETE, &TrayIcon);  // empty if the library never loaded
    Library.Unbind();
}
