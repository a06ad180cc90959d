// What the program has changed in other windows, kept in its registry key while the
// change lasts: the shaded windows and their heights, the window that carries the clock
// and its own title, the start button's own text. A clean end clears it; a program that
// was killed leaves it behind, and the next start gives those windows back first.
#pragma once

#include <windows.h>

#include <list>
#include <string>

#include "profile.h"
#include "shaded_windows.h"

class CrashJournal {
public:
    explicit CrashJournal(const fw::Profile& profile) : profile_(profile) {}

    // Gives back what a run that did not end cleanly left changed (only to windows that
    // still exist and still show what that run set), then forgets it.
    void Recover() const;

    void RecordShaded(const std::list<ShadeRecord>& records) const;
    // The clock's window and its own title (null: no window carries the clock).
    void RecordClock(HWND window, const std::wstring& ownTitle) const;
    // The start button's own text and the one the program gave it (none: it shows its own).
    void RecordStartButton(const std::wstring& ownText, const std::wstring& setText) const;
    void ForgetStartButton() const;

    // A clean end: forgets what was given back. What a window did not take back (its
    // thread did not answer) stays, for the next start to give back.
    void ClearGivenBack() const;
    // Forgets everything.
    void Clear() const;

    // Whether the window's title is `ownTitle` with a clock behind it.
    static bool ShowsClock(HWND window, const std::wstring& ownTitle);

private:
    const fw::Profile& profile_;
};
