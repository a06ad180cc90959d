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
    // Adds the icon (true) or removes it (false). Adding a present icon or removing an
    // absent one fails without effect.
    void Show(bool show);
    // Removes the icon, if the record was ever filled.
    void Remove();

private:
    NOTIFYICONDATAW data_ = {};
};
