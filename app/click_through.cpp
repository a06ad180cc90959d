#include "click_through.h"

#include "window_actions.h"
#include "window_threads.h"
#include "window_util.h"

namespace app {

namespace {
// Posted to the window's thread: a hung program does not hold this one.
void SetOnTop(HWND window, bool onTop) {
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (fw::IsOtherThreadWindow(window)) flags |= SWP_ASYNCWINDOWPOS;
    SetWindowPos(window, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}
}  // namespace

void CClickThrough::Make(HWND window, int level) {
    Purge();
    if (!IsWindow(window) || Contains(window)) return;
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    const bool layered = library_.IsTransparent(window);
    const ClickThroughRecord record{window, fw::ProcessOf(window), layered, LevelOf(window),
                                    (exStyle & WS_EX_TOPMOST) != 0};
    records_.push_back(record);
    Changed();
    library_.SetTransparent(window, layered ? record.level : level);
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TRANSPARENT);
    if (!record.onTop) SetOnTop(window, true);
}

bool CClickThrough::GiveBack(size_t index) {
    if (index >= records_.size()) return false;
    const ClickThroughRecord record = records_[index];
    // A window that has stopped answering would hold this program in the style change:
    // it stays click-through, and in the journal, for a later try.
    if (Alive(record) && IsHungAppWindow(record.window)) return false;
    if (Alive(record)) Restore(record);
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
    Changed();
    return true;
}

bool CClickThrough::GiveBackWindow(HWND window) {
    Purge();
    for (size_t i = 0; i < records_.size(); ++i)
        if (records_[i].window == window) return GiveBack(i);
    return false;
}

bool CClickThrough::GiveBackLatest() {
    Purge();
    return !records_.empty() && GiveBack(records_.size() - 1);
}

void CClickThrough::GiveBackAll() {
    for (size_t i = records_.size(); i-- > 0;) GiveBack(i);
}

bool CClickThrough::Contains(HWND window) const {
    for (const ClickThroughRecord& r : records_)
        if (r.window == window && Alive(r)) return true;
    return false;
}

void CClickThrough::Purge() {
    if (std::erase_if(records_, [&](const ClickThroughRecord& r) { return !Alive(r); })) Changed();
}

bool CClickThrough::Alive(const ClickThroughRecord& record) const {
    return IsWindow(record.window) && fw::ProcessOf(record.window) == record.process;
}

void CClickThrough::Restore(const ClickThroughRecord& record) const {
    const HWND window = record.window;
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_TRANSPARENT);
    if (record.layered)
        library_.SetTransparent(window, record.level);
    else
        library_.RemoveTransparent(window);
    if (!record.onTop) SetOnTop(window, false);
}

}  // namespace app
