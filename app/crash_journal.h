// What the program has changed in other windows, kept in its registry key while the
// change lasts: the shaded windows and their heights, the windows that carry the clock
// (or may still) and their own titles, the start button's own text. A clean end clears
// it; a program that was killed leaves it behind, and the next start gives those
// windows back first.
//
// The journal lives in a volatile key: it ends with the log-on session, so a later
// session never applies it to windows that merely reuse the handles. Each window is
// named with its class and process as well.
#pragma once

#include <windows.h>

#include <list>
#include <optional>
#include <string>
#include <vector>

#include "journal_records.h"
#include "profile.h"

namespace app {

struct ShadeRecord;
struct ClickThroughRecord;

class CCrashJournal {
public:
    explicit CCrashJournal(const fw::Profile& profile) : profile_(profile) {}

    // What an earlier run left changed and this start could not give back yet (the
    // window did not answer): for this run to give back, and to keep in its journal.
    struct Leftover {
        std::vector<journal::Title> titles;
        // The start button's own text while it still shows the one that run set.
        std::optional<std::wstring> buttonOwnText;
        std::wstring buttonSetText;
        std::vector<journal::Band> bands;
    };

    // Gives back what a run that did not end cleanly left changed (only to windows that
    // are still the same windows and still show what that run set), then forgets it.
    // What could not be given back is returned.
    Leftover Recover() const;

    void RecordShaded(const std::list<ShadeRecord>& records) const;
    // The click-through windows with what each had before, written when they change.
    void RecordClickThrough(const std::vector<ClickThroughRecord>& records) const;
    // The windows that carry the clock, or may still, with their own titles: written
    // when they, or their own titles, change.
    void KeepClock(std::vector<journal::Title> carriers);
    // The folder windows' bands the program hid, written when they change.
    void KeepBands(std::vector<journal::Band> bands);
    // The start button's text: a text of the program's is journaled before the button
    // shows it (say so before setting it), and forgotten once the button shows its
    // own again and has done with every text of ours (say so after).
    void BeforeStartButtonText(const std::wstring& ownText, const std::wstring& text);
    void AfterStartButtonText(const std::wstring& ownText, const std::wstring& text);
    // A text an earlier run set and could not take back: still the journal's.
    void KeepLeftStartButton(const std::wstring& ownText, const std::wstring& setText);

    // A clean end: forgets the shaded windows (their heights are queued for them) and,
    // if nothing else is left, the journal. What a window did not take back (its thread
    // did not answer) stays, for the next start to give back.
    void ClearGivenBack() const;
    // Forgets everything.
    void Clear() const;

    // Whether the window's title is `ownTitle` with a clock behind it.
    static bool ShowsClock(HWND window, const std::wstring& ownTitle);

private:
    void RecordClock(const std::vector<journal::Title>& carriers) const;
    // The start button's own text and the one the program gave it (none: it shows its own).
    void RecordStartButton(const std::wstring& ownText, const std::wstring& setText) const;
    void ForgetStartButton() const;
    void RecordBands(const std::vector<journal::Band>& bands) const;

    const fw::Profile& profile_;
    // What the journal holds now, so that it is written only when that changes.
    std::vector<journal::Title> journaledClock_;
    std::vector<journal::Band> journaledBands_;
    std::wstring journaledButtonText_;  // empty: the journal says the button shows its own
};

}  // namespace app
