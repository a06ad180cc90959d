// Messages sent to a window of another thread, whose wait is bounded so that a hung
// window never hangs the sender; and whether a window is the caller's own thread's.
// Header-only and free of any runtime: the hook library uses it inside other programs,
// the program through window_util.h.
#pragma once

#include <windows.h>

namespace fw {

// Long enough for a window of another process that is merely busy; a hung one (no
// answer for 5 s, as the system judges it) is given up at once.
inline constexpr UINT kForeignTimeoutMs = 500;
inline constexpr DWORD kSystemHungMs = 5000;

inline bool IsOtherThreadWindow(HWND window) {
    return GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId();
}

// The last `N` threads that did not answer in time, and when (tick count). Plain data,
// all zero to begin with.
template <unsigned N>
struct UnansweredThreads {
    struct Entry {
        DWORD thread;
        DWORD since;
    };
    Entry entries[N];
    unsigned next;

    bool Recently(DWORD thread) const {
        for (const Entry& e : entries)
            if (e.thread == thread && GetTickCount() - e.since < kSystemHungMs) return true;
        return false;
    }
    void Remember(DWORD thread) {
        for (Entry& e : entries)
            if (e.thread == thread) {
                e.since = GetTickCount();
                return;
            }
        entries[next++ % N] = {thread, GetTickCount()};
    }
};

// Answered: the window answered in time, with `*result`. TimedOut: the message went out
// but the window did not answer in time; it may still take it, late. Skipped: nothing
// was sent (the window is gone, or its thread did not answer lately).
enum class Sent { Answered, TimedOut, Skipped };

// SendMessageTimeout with SMTO_ABORTIFHUNG. A thread that did not answer in time is not
// sent to again until the system itself takes it for hung, 5 s later: from then on
// SMTO_ABORTIFHUNG gives up at once. So a hung window costs the sender one timeout per
// thread, not one per message.
template <unsigned N>
Sent SendBoundedTo(UnansweredThreads<N>& unanswered, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                   DWORD_PTR* result = nullptr, UINT timeoutMs = kForeignTimeoutMs) {
    if (result) *result = 0;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!thread || unanswered.Recently(thread)) return Sent::Skipped;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer)) {
        if (result) *result = answer;
        return Sent::Answered;
    }
    // Not a window that went away meanwhile: a thread that did not answer.
    if (IsWindow(window)) unanswered.Remember(thread);
    return Sent::TimedOut;
}

}  // namespace fw
