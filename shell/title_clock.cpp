#include "title_clock.h"

#include <ctime>
#include <cwchar>

#include "taskbar_overlap.h"
#include "window_util.h"

namespace {
// A foreign window may hang: its title is given up rather than the program frozen.
void SetTitle(HWND window, const wchar_t* title) {
    fw::SendBounded(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title));
}

// Whether every conversion of a time format is one the runtime knows; an unknown one
// would reach the runtime's invalid-parameter handling, which may end the program.
bool IsSafeTimeFormat(const std::wstring& format) {
    static constexpr wchar_t kConversions[] = L"aAbBcdHIjmMpSUwWxXyYzZ%";
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') continue;
        if (++i < format.size() && format[i] == L'#') ++i;
        if (i >= format.size() || !wcschr(kConversions, format[i])) return false;
    }
    return true;
}

// The local time as the C runtime's formatting takes it, from the system's clock (the
// runtime's 64-bit time functions are missing from Windows 2000's msvcrt.dll).
struct tm LocalTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    struct tm t = {};
    t.tm_year = st.wYear - 1900;
    t.tm_mon = st.wMonth - 1;
    t.tm_mday = st.wDay;
    t.tm_hour = st.wHour;
    t.tm_min = st.wMinute;
    t.tm_sec = st.wSecond;
    t.tm_wday = st.wDayOfWeek;
    static constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const bool leap = (st.wYear % 4 == 0 && st.wYear % 100 != 0) || st.wYear % 400 == 0;
    t.tm_yday = kDaysBefore[t.tm_mon] + st.wDay - 1 + (leap && st.wMonth > 2 ? 1 : 0);
    TIME_ZONE_INFORMATION zone;
    t.tm_isdst = GetTimeZoneInformation(&zone) == TIME_ZONE_ID_DAYLIGHT ? 1 : 0;
    return t;
}

// Base title followed by as much of the clock text as fits the title buffer; returns
// how many characters of the clock text were appended.
int Compose(wchar_t (&out)[TitleClock::kTitleSize], const wchar_t* base, const std::wstring& clock) {
    size_t n = wcsnlen(base, TitleClock::kTitleSize - 1);
    wmemcpy(out, base, n);
    const size_t room = TitleClock::kTitleSize - 1 - n;
    const size_t add = clock.size() < room ? clock.size() : room;
    wmemcpy(out + n, clock.data(), add);
    out[n + add] = 0;
    return static_cast<int>(add);
}
}  // namespace

std::wstring TitleClock::ClockText(HWND window, const std::wstring& timeFormat, bool withClassName) {
    std::wstring text;
    const struct tm now = LocalTime();
    const struct tm* local = &now;
    if (IsSafeTimeFormat(timeFormat)) {
        wchar_t buffer[kTimeSize];
        const std::wstring format = L"  " + timeFormat;
        const size_t n = wcsftime(buffer, kTimeSize, format.c_str(), local);
        if (n > 0) text.assign(buffer, n);
    }
    if (withClassName) text = text + L" [" + fw::ClassName(window) + L"]";
    return text;
}

void TitleClock::RestoreTitle() {
    if (window_ && IsWindow(window_)) SetTitle(window_, savedTitle_);
    window_ = nullptr;  // given back once: the window owns its title again
}

void TitleClock::Tick(const std::wstring& timeFormat, bool withClassName,
                      const ClassFilterList& classFilter) {
    const HWND w = GetForegroundWindow();
    if (!IsWindow(w) || !IsWindowVisible(w)) return;
    if (!(GetWindowLongW(w, GWL_STYLE) & WS_CAPTION) || IsShellOrFilteredWindow(w, classFilter)) {
        RestoreTitle();
        return;
    }
    const std::wstring clock = ClockText(w, timeFormat, withClassName);
    wchar_t title[kTitleSize];

    if (w != window_) {
        RestoreTitle();
        window_ = w;
        savedTitle_[0] = 0;
        GetWindowTextW(w, savedTitle_, kTitleSize);
        suffixLength_ = Compose(title, savedTitle_, clock);
        Write(w, title);
        return;
    }

    // The same window: does it still show our title, or did it set one of its own?
    wchar_t current[kTitleSize] = {};
    GetWindowTextW(w, current, kTitleSize);
    const size_t length = wcsnlen(current, kTitleSize - 1);
    wchar_t withoutClock[kTitleSize] = {};
    if (length >= static_cast<size_t>(suffixLength_)) wmemcpy(withoutClock, current, length - suffixLength_);
    if (wcscmp(withoutClock, savedTitle_) != 0) wmemcpy(savedTitle_, current, kTitleSize);
    suffixLength_ = Compose(title, savedTitle_, clock);
    Write(w, title);
}

void TitleClock::Write(HWND window, const wchar_t* title) const {
    if (notice_) notice_(noticeContext_, window, savedTitle_);
    SetTitle(window, title);
}
