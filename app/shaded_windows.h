// The windows this program has rolled up to their title bar, with the height each had
// before: a second request, or the program's end, gives it back.
#pragma once

#include <windows.h>

#include <list>

#include "class_filter.h"

namespace app {

// A window this program has shaded and its outer height before.
struct ShadeRecord {
    HWND window;
    int height;
};

class ShadedWindows {
public:
    // Rolls the window up to its title bar, or gives a shaded one its height back.
    // Windows of a filtered class are left alone.
    void ToggleShade(HWND window, const shell::ClassFilterList& classFilter, int defaultHeight);
    // Forgets the windows that no longer exist.
    void Purge();
    // Gives every shaded window that still exists its height back, and forgets them all.
    void RestoreAll();

    const std::list<ShadeRecord>& records() const { return records_; }

    // The outer height of the window rolled up to its title bar.
    static int TitleBarHeight(HWND window);

    // The window keeps its position, takes `height` (and its normal width), is shown
    // and comes to the top; it is not sent WM_WINDOWPOSCHANGING.
    static void ResizeKeepingPosition(HWND window, int height);

private:
    std::list<ShadeRecord> records_;
};

}  // namespace app
