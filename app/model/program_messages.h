// The program's private window messages, besides the reports of the hook library
// (vitrel_api.h): what its hidden main window receives from its own parts, from a second
// start and from the tray.
#pragma once

#include <windows.h>

namespace app {

enum : UINT {
    // Taken without effect and not passed on (0x46F).
    WM_CONSUMED_PRIVATE = WM_USER + 111,
    // The tray icon's callback; a second start posts a double-click with it (0x7E8).
    WM_TRAYNOTIFY = WM_USER + 1000,
    // Posted by the settings sheet's Apply button to its owner once the pages have
    // stored their values: the program makes them take effect (0x80F).
    WM_APPLY_SETTINGS = WM_USER + 1039,
};

}  // namespace app
