// The program's icon in the notification area: one record, filled once, given to every
// request.
#pragma once

#include <windows.h>
#include <shellapi.h>

class TrayIcon {
public:
    // Fills the record for `owner`: icon 128, callback `callbackMessage`, the tip.
    void Fill(HWND owner, UINT callbackMessage);
    bool filled() const { return data_.cbSize != 0; }
    // Adds the icon (true) or removes it (false). Whether the taskbar took the request:
    // false when it did not answer or refused to add the icon (then the caller tries
    // again later). Adding a present icon counts as taken, removing an absent one too.
    bool Show(bool show);
    // Removes the icon, if the record was ever filled.
    void Remove();

private:
    NOTIFYICONDATAW data_ = {};
};
