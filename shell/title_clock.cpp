#include "title_clock.h"

#include <ctime>
#include <cwchar>
#include <utility>

#include "taskbar_overlap.h"
#include "window_util.h"

namespace shell {

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
int Compose(wchar_t (&out)[CTitleClock::kTitleSize], const wchar_t* base, const std::wstring& clock) {
    size_t n = wcsnlen(base, CTitleClock::kTitleSize - 1);
    wmemcpy(out, base, n);
    const size_t room = CTitleClock::kTitleSize - 1 - n;
    const size_t add = clock.size() < room ? clock.size() : room;
    wmemcpy(out + n, clock.data(), add);
    out[n + add] = 0;
    return static_cast<int>(add);
}
}  // namespace

std::wstring CTitleClock::ClockText(HWND window, const std::wstring& timeFormat, bool withClassName) {
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

bool CTitleClock::GiveBack(const OwnTitle& owed) {
    if (!IsWindow(owed.window)) return true;
    // A window that gave itself another title meanwhile keeps it.
    const std::wstring now = fw::WindowText(owed.window);
    if (now.compare(0, owed.title.size(), owed.title) != 0) return true;
    // Answered in time: the window has also done with every earlier message of ours,
    // a clock text it took late included, and shows its own title now.
    return fw::SendBounded(owed.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(owed.title.c_str()));
}

void CTitleClock::SettleOwed() {
    for (size_t i = 0; i < owed_.size();)
        if (GiveBack(owed_[i]))
            owed_.erase(owed_.begin() + static_cast<ptrdiff_t>(i));
        else
            ++i;
}

bool CTitleClock::TakeOwed(HWND window, wchar_t (&title)[kTitleSize]) {
    for (auto it = owed_.begin(); it != owed_.end(); ++it)
        if (it->window == window) {
            lstrcpynW(title, it->title.c_str(), kTitleSize);
            owed_.erase(it);
            return true;
        }
    return false;
}

void CTitleClock::Owe(HWND window, const std::wstring& ownTitle) {
    if (!window || window == window_) return;
    for (OwnTitle& owed : owed_)
        if (owed.window == window) {
            owed.title = ownTitle;
            return;
        }
    // Bounded: the oldest is given up (it has not answered for a long time).
    if (owed_.size() >= kMaxOwed) owed_.erase(owed_.begin());
    owed_.push_back({window, ownTitle});
}

std::vector<CTitleClock::OwnTitle> CTitleClock::carriers() const {
    std::vector<OwnTitle> all;
    if (window_) all.push_back({window_, savedTitle_});
    all.insert(all.end(), owed_.begin(), owed_.end());
    return all;
}

void CTitleClock::RestoreTitle() {
    // Given back once: the window owns its title again (or is owed it).
    if (window_) Owe(std::exchange(window_, nullptr), savedTitle_);
    SettleOwed();
}

void CTitleClock::Tick(const std::wstring& timeFormat, bool withClassName,
                      const ClassFilterList& classFilter) {
    SettleOwed();
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
        // A window that comes back before it took its own title back may show a clock.
        savedTitle_[0] = 0;
        if (!TakeOwed(w, savedTitle_)) GetWindowTextW(w, savedTitle_, kTitleSize);
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

void CTitleClock::Write(HWND window, const wchar_t* title) const {
    if (notice_) notice_(noticeContext_);
    SetTitle(window, title);
}

}  // namespace shell
