// The title-bar clock: the current time, and optionally the class name, written
// behind the title of the foreground window once a second. The window's own title is
// kept and given back when the clock moves on, is switched off, or the program ends.
#pragma once

#include <windows.h>

#include <string>

#include "class_filter.h"

class TitleClock {
public:
    // Title buffers hold at most this many characters, the terminating zero included.
    static constexpr int kTitleSize = 260;
    // The formatted time holds at most this many characters, the zero included.
    static constexpr int kTimeSize = 128;

    // Told before the clock writes into a window's title: the window and its own title.
    using WriteNotice = void (*)(void* context, HWND window, const wchar_t* ownTitle);
    void NotifyBeforeWriting(WriteNotice notice, void* context) {
        notice_ = notice;
        noticeContext_ = context;
    }

    // One tick of the clock timer.
    void Tick(const std::wstring& timeFormat, bool withClassName, const ClassFilterList& classFilter);
    // Gives the window that carries the clock its own title back, if it still exists.
    void RestoreTitle();

    HWND window() const { return window_; }
    // That window's own title (meaningful while window() is not null).
    const wchar_t* ownTitle() const { return savedTitle_; }

    // The clock text for the window: two blanks and the time, then " [class]" when
    // asked for. Empty time part when the format fails or does not fit.
    static std::wstring ClockText(HWND window, const std::wstring& timeFormat, bool withClassName);

private:
    void Write(HWND window, const wchar_t* title) const;

    WriteNotice notice_ = nullptr;
    void* noticeContext_ = nullptr;
    HWND window_ = nullptr;
    wchar_t savedTitle_[kTitleSize] = {};
    int suffixLength_ = 0;
};
