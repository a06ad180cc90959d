// The labels of the desktop icons: a transparent background and a colour of the user's
// choosing, sent to the desktop's icon list view in the shell's process.
#pragma once

#include <windows.h>

#include <optional>

namespace shell {

// The desktop's icon list view: "SysListView32" in "SHELLDLL_DefView" in the
// "Progman" window titled "Program Manager" (or, when that has no view, in the top-level
// "WorkerW" that holds it); null if there is none.
HWND FindDesktopListView();

// Asks the list view for one of its colours (LVM_GETTEXTCOLOR, LVM_GETTEXTBKCOLOR);
// none if it does not answer.
std::optional<COLORREF> DesktopListColor(HWND list, UINT message);

// What the labels should look like: the two modes, the chosen colour, and the list
// view's own colours as they were before the program changed them. A colour of its own
// that could not be read yet (the list view did not answer) is never sent, nor is the
// chosen one in its place: the own colour is still to be read from the list view.
struct IconTextLook {
    int bkMode;           // "DeskTopIconBkMode": no label background
    int textColorMode;    // "DeskTopIconTextColorMode": labels in `textColor`
    COLORREF textColor;   // "DeskTopIconTextColor"
    std::optional<COLORREF> initialBk;   // the list view's own label background
    std::optional<COLORREF> initialText; // the list view's own label colour
};

class CDesktopIconText {
public:
    // The apply step: sends both label colours, and repaints the icons when the look
    // differs from the one last applied (which it then remembers).
    void Apply(const IconTextLook& look);
    // The tray icon's single click: sends the colours of the modes that are on and
    // repaints if it sent any; the applied values stay as they are.
    void Reassert(const IconTextLook& look) const;
    // Just before the settings sheet opens: the modes count as applied as they stand.
    void TakeModes(int bkMode, int textColorMode) {
        AppliedIconBkMode = bkMode;
        AppliedIconTextColorMode = textColorMode;
    }
    // At start-up, before the first apply: the colour counts as applied.
    void TakeColor(COLORREF color) { AppliedIconTextColor = color; }

private:
    int AppliedIconBkMode = 0;
    int AppliedIconTextColorMode = 0;
    COLORREF AppliedIconTextColor = 0;
};

}  // namespace shell
