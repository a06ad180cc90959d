// The title-bar clock: the current time, and optionally the class name, written
// behind the title of the foreground window once a second. The window's own title is
// kept and given back when the clock moves on, is switched off, or the program ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "class_filter.h"

namespace shell {

class CTitleClock {
public:
    // Title buffers hold at most this many characters, the terminating zero included.
    static constexpr int kTitleSize = 260;
    // The formatted time holds at most this many characters, the zero included.
    static constexpr int kTimeSize = 128;

    // A window and its own title.
    struct OwnTitle {
        HWND window;
        std::wstring title;
        bool operator==(const OwnTitle&) const = default;
    };

    // Told before the clock writes into a window's title; carriers() then names it.
    using WriteNotice = void (*)(void* context);
    void NotifyBeforeWriting(WriteNotice notice, void* context) {
        notice_ = notice;
        noticeContext_ = context;
    }

    // One tick of the clock timer.
    void Tick(const std::wstring& timeFormat, bool withClassName, const ClassFilterList& classFilter);
    // Gives the window that carries the clock its own title back, if it still exists,
    // and tries again for every window that did not take it back yet.
    void RestoreTitle();

    // The windows that carry the clock or may still do so: the current one first, then
    // those that lost it but have not yet answered the message that gives their own
    // title back (a window busy inside a handler can take a clock text late, after the
    // program moved on). They are asked again at every tick until they answer.
    std::vector<OwnTitle> carriers() const;
    // A window that an earlier run could not give its own title back.
    void Owe(HWND window, const std::wstring& ownTitle);

    // The clock text for the window: two blanks and the time, then " [class]" when
    // asked for. Empty time part when the format fails or does not fit.
    static std::wstring ClockText(HWND window, const std::wstring& timeFormat, bool withClassName);

private:
    void Write(HWND window, const wchar_t* title) const;
    // Tries to give the window its own title; whether nothing more is owed to it.
    static bool GiveBack(const OwnTitle& owed);
    void SettleOwed();
    // Takes the window out of the owed list; its own title, if it was there.
    bool TakeOwed(HWND window, wchar_t (&title)[kTitleSize]);

    static constexpr size_t kMaxOwed = 16;
    std::vector<OwnTitle> owed_;
    WriteNotice notice_ = nullptr;
    void* noticeContext_ = nullptr;
    HWND window_ = nullptr;
    wchar_t savedTitle_[kTitleSize] = {};
    int suffixLength_ = 0;
};

}  // namespace shell
