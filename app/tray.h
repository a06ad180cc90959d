// The tray icon as the program keeps it: shown or hidden as the settings say, asked
// for again while the taskbar does not take the request (busy at log-on), and its menu.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tray_icon.h"

namespace app {

inline constexpr size_t kClickThroughItems = 16;

class CTray {
public:
    // The owner gets the icon's callback message, the retry timer's ticks and the
    // menu's commands.
    void Attach(HWND owner, UINT callbackMessage, UINT_PTR retryTimer);
    // Shows or hides the icon; a taskbar that does not take the request is asked again
    // a few times, ever less often (the owner's retry timer calls Retry).
    void Show(bool visible);
    void Retry();
    // A new taskbar: asked anew, from the first delay on.
    void Restart(bool visible);
    void Remove() { icon_.Remove(); }
    // The menu at the pointer: settings (greyed while paused), the rule of the last
    // active window's program (`ruleProgram`, greyed unless `ruleOffered`), an item for
    // each click-through window by its title (at most kClickThroughItems), pause or
    // resume, about, exit.
    void ShowMenu(bool paused, const std::wstring& ruleProgram, bool ruleOffered,
                  const std::vector<std::wstring>& clickThrough) const;

private:
    TrayIcon icon_;
    HWND owner_ = nullptr;
    UINT_PTR retryTimer_ = 0;
    bool visible_ = true;
    int retries_ = 0;  // requests repeated since the last one the taskbar took
};

}  // namespace app
