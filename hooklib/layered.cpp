// Making a top-level window translucent, opaque again, and telling which it is.
// A window counts as translucent exactly while its extended style has WS_EX_LAYERED.

#include "layered.h"

#include "process_state.h"
#include "shared_settings.h"
#include "exports.h"
#include "hook_common.h"
#include "window_class.h"

namespace {

using fw::Sent;

// The program calls SetTransparent on the shell's windows from its own thread: a hung
// shell must not hang it. In the window's own thread this is a plain call.
Sent SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return fw::SendBoundedTo(g_process.unanswered, window, message, wParam, lParam);
}

// Queues redraw-on behind whatever was sent to the window before: sent messages of one
// thread are taken in the order they were sent, so it arrives after a redraw-off that
// the window took but has not yet carried out.
void QueueRedrawOn(HWND window) { SendNotifyMessageW(window, WM_SETREDRAW, TRUE, TRUE); }

}  // namespace

void SetLayeredAlpha(HWND window, int alpha) {
    if (g_process.setLayered) g_process.setLayered(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

extern "C" {

int SetTransparent(HWND window, int alpha) {
    const ShellClass cls = ClassOf(window);
    // A window that is gone is not reported as made translucent.
    if (cls == ShellClass::Gone) return 0;
    if (cls == ShellClass::XpStartMenu && !IsWindowVisible(window)) return 1;
    if (!g_process.setLayered) return 0;

    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (exStyle & WS_EX_LAYERED) {
        SetLayeredAlpha(window, alpha);
        return 0;
    }

    RECT before = {};
    GetWindowRect(window, &before);
    // Redraw off while the style changes, so the window never flashes in between.
    // Only for a shown window: switching redraw back on sets WS_VISIBLE, which would
    // leave a hidden window marked visible without ever being shown.
    // A window that does not take the first switch is left as it is.
    const bool shown = IsWindowVisible(window) != FALSE;
    if (shown) {
        const Sent off = SendBounded(window, WM_SETREDRAW, FALSE, 0);
        if (off != Sent::Answered) {
            // The window may still take redraw-off late, and would then stop painting
            // and lose WS_VISIBLE for good: redraw-on is sure to follow it.
            if (off == Sent::TimedOut) QueueRedrawOn(window);
            return 0;
        }
    }
    // (The style change waits on the window's thread with no bound the system offers;
    // that thread has just answered.)
    SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredAlpha(window, 0);
    // Redraw went off, so it must come on again: if the window does not answer in time,
    // the switch is queued for it and takes effect whenever its thread gets to it.
    if (shown && SendBounded(window, WM_SETREDRAW, TRUE, TRUE) != Sent::Answered) QueueRedrawOn(window);
    // Painted before it shows, in its own thread; another thread paints it itself.
    if (!fw::IsOtherThreadWindow(window)) UpdateWindow(window);
    SetLayeredAlpha(window, alpha);

    if (cls == ShellClass::XpStartMenu || cls == ShellClass::ClassicStartMenu) return 1;
    if (IsWindowVisible(window)) RedrawWindow(GetDesktopWindow(), &before, nullptr, kRedrawAllFlags);
    if (g_shared.TaskbarTP && cls == ShellClass::Taskbar) InvalidateRect(window, nullptr, TRUE);
    return 1;
}

int RemoveTransparent(HWND window) {
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) return 0;
    // The style change waits on the window's thread with no bound the system offers: a
    // window of another thread that does not answer now keeps its style, fully opaque.
    if (fw::IsOtherThreadWindow(window) && SendBounded(window, WM_NULL, 0, 0) != Sent::Answered) {
        SetLayeredAlpha(window, 255);
        return 0;
    }
    SetWindowLongW(window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    if (IsWindowVisible(window)) RedrawWindow(window, nullptr, nullptr, kRedrawAllFlags);
    return 1;
}

int IsTransparent(HWND window) { return IsLayered(window) ? 1 : 0; }

}  // extern "C"
