// Small helpers for the controls of a dialog, each addressed by the dialog and the
// control's id: check state, enabling, trackbar, up-down, edit text, the fixed layout
// in 96-DPI pixels, report list views, and tooltips. Texts go through the wide API.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>

namespace fw {

// Check boxes and radio buttons: BM_GETCHECK as the control answers it, and BM_SETCHECK.
int CheckState(HWND dialog, int id);
void SetCheck(HWND dialog, int id, int state);

void EnableItems(HWND dialog, std::initializer_list<int> ids, bool enable);

// A trackbar: the range is set without a redraw, the position with one.
void InitTrackbar(HWND dialog, int id, int low, int high, int position);
int TrackbarPos(HWND dialog, int id);

// An up-down with its buddy edit, range and position.
void InitUpDown(HWND dialog, int id, int buddyId, int low, int high, int position);
// The up-down's position; `fallback` when the control reports an error (its buddy's
// text is no number of the range).
int UpDownPos(HWND dialog, int id, int fallback);

std::wstring ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::wstring& text);

// The screen's DPI along LOGPIXELSX or LOGPIXELSY, as this program sees it (96 if the
// screen does not say).
int ScreenDpi(int axis);
// A length in 96-DPI pixels at `dpi`: the integer part, toward zero.
int ScaleLength(int length, int dpi);
// The same at the screen's DPI, read from the screen every time.
int ScaleX(int length);
int ScaleY(int length);

// A control's place in 96-DPI pixels in its dialog's client coordinates.
struct ItemRect {
    int id;
    int x, y, width, height;
};
// Moves and sizes the controls in this order, each shown and brought to the top of its
// siblings: the last one ends first in the z-order and in the tab order.
void PlaceItems(HWND dialog, std::initializer_list<ItemRect> rects);
// The same where the resources are in `language` (LANG_ENGLISH, ...) with the
// rectangles of `local` in place of the ones of their ids: the texts of that language
// need other room. The order stays the one of `rects`.
void PlaceItems(HWND dialog, std::initializer_list<ItemRect> rects, WORD language,
                std::initializer_list<ItemRect> local);

// A report list view (`list` is its window): column `index` of `width` 96-DPI pixels;
// a row of texts, one per column, added at the bottom (its index); the
// selected row (-1 if none); `row` selected, focused and scrolled into view.
void AddListColumn(HWND list, int index, const std::wstring& title, int width);
int AddListRow(HWND list, std::initializer_list<const wchar_t*> texts);
int ListSelection(HWND list);
void SelectListRow(HWND list, int row);

// A tooltip for one whole control window, shown also while its window is not active.
// It learns of the mouse only through Relay (no subclassing).
class Tooltip {
public:
    Tooltip() = default;
    ~Tooltip();
    Tooltip(const Tooltip&) = delete;
    Tooltip& operator=(const Tooltip&) = delete;

    // Creates the tooltip with `tool` as its parent and registers `tool`; false if the
    // tooltip could not be created (the caller goes on without it).
    bool Create(HWND tool, const std::wstring& text);
    // Hands the tooltip a message of the message loop (TTM_RELAYEVENT).
    void Relay(const MSG& msg) const;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
    std::wstring text_;
};

}  // namespace fw
