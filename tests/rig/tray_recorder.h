// A hidden "Shell_TrayWnd" window of the test that stands in for the notification
// area. Wine's Shell_NotifyIcon sends its request as WM_COPYDATA (dwData = NIM_*) to
// the first window of that class; one made after explorer's taskbar is that window.
// Every request is recorded with its fields, and answered TRUE.
//
// Wine's payload (dlls/shell32/systray.c, struct notify_data): 32-bit window handle,
// uID, uFlags, uCallbackMessage, WCHAR szTip[128], dwState, dwStateMask,
// WCHAR szInfo[256], uTimeout/uVersion, WCHAR szInfoTitle[64], dwInfoFlags, GUID, then
// the icon's width, height, planes and bits per pixel, followed by the icon bits.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace rig {

struct TrayCall {
    DWORD action = 0;      // NIM_ADD, NIM_MODIFY, NIM_DELETE, ...
    HWND sender = nullptr; // wParam: the window the caller named
    HWND window = nullptr;
    UINT id = 0;
    UINT flags = 0;
    UINT callbackMessage = 0;
    std::wstring tip;
    UINT iconWidth = 0, iconHeight = 0;
    DWORD bytes = 0;       // size of the whole payload
    LONGLONG when = 0;     // performance counter at receipt
};

class TrayRecorder {
public:
    TrayRecorder();
    ~TrayRecorder();
    TrayRecorder(const TrayRecorder&) = delete;
    TrayRecorder& operator=(const TrayRecorder&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Whether Shell_NotifyIcon reaches this window rather than the shell's taskbar.
    bool ok() const;

    // Pumps, then returns every request so far.
    const std::vector<TrayCall>& Calls();
    std::vector<TrayCall> Calls(DWORD action);
    void Clear();
    // For the next `ms` milliseconds the taskbar is busy, as the shell is at log-on: a
    // message to it is taken, then answered only after 700 ms, and no icon is added.
    void BeBusyFor(DWORD ms);

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    std::vector<TrayCall> calls_;
    DWORD busyUntil_ = 0;
};

}  // namespace rig
