// After the hidden main window is destroyed: give back what the program changed in
// other windows, remove the tray icon, stop and unload the library. The settings are
// written when the window object is deleted afterwards.
#include "main_hidden_dlg.h"

void CMainHiddenDlg::PostNcDestroy() {
    RestoreClockTitle();
    Shaded.RestoreAll();
    SetStartButtonText(InitialStartButtonText);
    Tray.Remove();  // nothing to remove if the library never loaded
    // The Explorer bands the program hid show again; the user's choice is what gets stored.
    const int hideFlag = Settings.HideFlag, hideMenu = Settings.HideMenu;
    Settings.HideFlag = Settings.HideMenu = 0;
    TweakAllTopLevelWindows();
    Settings.HideFlag = hideFlag;
    Settings.HideMenu = hideMenu;
    Library.Unbind();
    // What was given back is forgotten; what a hung window did not take back is left
    // for the next start.
    Journal.ClearGivenBack();
}
