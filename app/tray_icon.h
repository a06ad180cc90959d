// The program's icon in the notification area: one record, filled once, given to every
// request.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace app {

class TrayIcon {
public:
    // Fills the record for `owner`: icon 128, callback `callbackMessage`, the tip.
    void Fill(HWND owner, UINT callbackMessage);
    bool filled() const { return data_.cbSize != 0; }
    // Adds the icon (true) or removes it (false). False when the taskbar did not answer
    // (busy, as at log-on), so that the request never went out: the caller asks again
    // later. A taskbar that answered was asked, whatever it made of the request (each
    // request waits on it with no bound on some systems, so it is not repeated idly).
    bool Show(bool show);
    // Removes the icon, if the record was ever filled.
    void Remove();

private:
    NOTIFYICONDATAW data_ = {};
};

}  // namespace app
