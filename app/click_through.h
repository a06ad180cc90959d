// The windows this program made click-through: still shown, translucent and on top,
// while every click and wheel turn goes to what lies under them (layered and
// transparent to the mouse). Each record keeps what its window had before; the window
// gets it back by the hotkey, the tray menu's item of its title, or the program's end.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "library_binding.h"

namespace app {

struct ClickThroughRecord {
    HWND window;
    DWORD process;  // whose the window was: a handle that came to another is not ours
    bool layered;   // translucent before, at `level`
    int level;
    bool onTop;
};

class CClickThrough {
public:
    explicit CClickThrough(const CLibraryBinding& library) : library_(library) {}
    // Told of every change of the records: a window's record before the window changes,
    // its end after the window has what it had (the journal, which a killed program
    // leaves for the next start).
    void OnChange(std::function<void(const std::vector<ClickThroughRecord>&)> tell) { tell_ = std::move(tell); }

    // Makes `window` click-through at its own level, or at `level` if it was opaque.
    void Make(HWND window, int level);
    // Gives the window of record `index` (in the order they were made) back what it had.
    // A window that does not answer (hung) keeps it and its record: false.
    bool GiveBack(size_t index);
    // Gives `window` back what it had; false if it is none of ours, or hung.
    bool GiveBackWindow(HWND window);
    // The one made last that still exists; false when there is none, or it is hung.
    bool GiveBackLatest();
    // Every one but the hung ones, which stay on record.
    void GiveBackAll();
    bool Contains(HWND window) const;
    // Forgets the windows that are gone (or whose handles another process now has).
    void Purge();
    const std::vector<ClickThroughRecord>& records() const { return records_; }

private:
    bool Alive(const ClickThroughRecord& record) const;
    void Restore(const ClickThroughRecord& record) const;

    void Changed() const {
        if (tell_) tell_(records_);
    }

    const CLibraryBinding& library_;
    std::vector<ClickThroughRecord> records_;
    std::function<void(const std::vector<ClickThroughRecord>&)> tell_;
};

}  // namespace app
