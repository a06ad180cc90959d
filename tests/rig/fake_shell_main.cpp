// The fake shell: windows that the Windows shell would own and Wine's does not
// provide, built with the real common controls. Tests create them on command
// ("Shell_TrayWnd", "DV2ControlHost", "BaseBar", ...).
#include "window_host.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    return rig::RunWindowHost(nullptr);
}
