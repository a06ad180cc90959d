#include "crash_journal.h"

#include <utility>

#include "click_through.h"
#include "shaded_windows.h"
#include "start_button.h"
#include "window_util.h"

namespace app {

namespace {
constexpr wchar_t kJournal[] = L"Journal";
// Written by every change: a journal without it was left by a version whose journal
// outlived the log-on session, and is not applied.
constexpr wchar_t kFormat[] = L"Format";
constexpr int kFormatVersion = 2;
constexpr wchar_t kShadedCount[] = L"ShadedCount";  // then "Shaded<i>": "window pid height class"
// then "ClickThrough<i>": "window pid state class", the state the level (0 to 255), 256
// if it was layered and 512 if it was on top.
constexpr wchar_t kClickThroughCount[] = L"ClickThroughCount";
constexpr int kWasLayered = 256, kWasOnTop = 512;
constexpr wchar_t kClockCount[] = L"ClockCount";    // then "Clock<i>": "window pid class", "Clock<i>Title"
constexpr wchar_t kBandCount[] = L"BandCount";    // then "Band<i>": "rebar pid child class"
constexpr wchar_t kButtonOwnText[] = L"StartButtonOwnText";
constexpr wchar_t kButtonSetText[] = L"StartButtonSetText";
constexpr wchar_t kButtonSet[] = L"StartButtonSet";

// The record of `window` as it is now, with `number` for the records that carry one.
std::wstring Identity(HWND window, const int* number = nullptr) {
    return journal::Format({window, fw::ProcessOf(window), number ? *number : 0, fw::ClassName(window)}, number);
}

// A journaled window: its handle is only taken for the same window if the window
// there now has the same class and process.
struct Entry {
    HWND window = nullptr;
    int number = 0;  // the height, for a shaded window
    bool same = false;
};

Entry Parse(const std::wstring& text, bool withNumber) {
    const std::optional<journal::Entry> read = journal::Parse(text, withNumber);
    if (!read) return {};
    const HWND window = read->window;
    return {window, read->number,
            IsWindow(window) && fw::ProcessOf(window) == read->process && fw::ClassName(window) == read->className};
}

int Height(HWND window) {
    RECT rc = {};
    GetWindowRect(window, &rc);
    return rc.bottom - rc.top;
}

int Count(const fw::ProfileSection& section, const wchar_t* name) {
    return journal::ReadableCount(section.GetInt(name, 0));
}

void RecoverShaded(const fw::ProfileSection& section) {
    for (int i = 0, n = Count(section, kShadedCount); i < n; ++i) {
        const Entry e = Parse(section.GetString(journal::ValueName(L"Shaded", i).c_str(), L""), true);
        // Still rolled up as the program left it: unrolled (the move is queued for the
        // window, hung or not). Anything else is the user's.
        if (e.same && e.number > 0 && Height(e.window) == ShadedWindows::TitleBarHeight(e.window))
            ShadedWindows::ResizeKeepingPosition(e.window, e.number);
    }
}

// Still click-through as that run left them: given back what they had (the style and
// the move are the window's to take, hung or not).
void RecoverClickThrough(const fw::ProfileSection& section) {
    constexpr LONG kClickThrough = WS_EX_LAYERED | WS_EX_TRANSPARENT;
    for (int i = 0, n = Count(section, kClickThroughCount); i < n; ++i) {
        const Entry e = Parse(section.GetString(journal::ValueName(L"ClickThrough", i).c_str(), L""), true);
        if (!e.same || e.number < 0) continue;
        const LONG exStyle = GetWindowLongW(e.window, GWL_EXSTYLE);
        if ((exStyle & kClickThrough) != kClickThrough) continue;
        if (e.number & kWasLayered) {
            SetWindowLongW(e.window, GWL_EXSTYLE, exStyle & ~WS_EX_TRANSPARENT);
            SetLayeredWindowAttributes(e.window, 0, static_cast<BYTE>(e.number & 0xFF), LWA_ALPHA);
        } else {
            SetWindowLongW(e.window, GWL_EXSTYLE, exStyle & ~kClickThrough);
        }
        if (!(e.number & kWasOnTop))
            SetWindowPos(e.window, HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    }
}

void RecoverClock(const fw::ProfileSection& section, CCrashJournal::Leftover& left) {
    for (int i = 0, n = Count(section, kClockCount); i < n; ++i) {
        const Entry e = Parse(section.GetString(journal::ValueName(L"Clock", i).c_str(), L""), false);
        const std::wstring own = section.GetString(journal::ValueName(L"Clock", i, L"Title").c_str(), L"");
        if (!e.same || !CCrashJournal::ShowsClock(e.window, own)) continue;
        if (!fw::SendBounded(e.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(own.c_str())))
            left.titles.push_back({e.window, own});
    }
}

void RecoverStartButton(const fw::ProfileSection& section, CCrashJournal::Leftover& left) {
    if (!section.GetInt(kButtonSet, 0)) return;
    const std::wstring own = section.GetString(kButtonOwnText, L"");
    const std::wstring set = section.GetString(kButtonSetText, L"");
    if (shell::ReadStartButtonText() != set) return;
    shell::SetStartButtonText(own);
    // A button that did not take it still shows that run's text, which is not its own.
    if (shell::ReadStartButtonText() == set) {
        left.buttonOwnText = own;
        left.buttonSetText = set;
    }
}
// Bands hidden by that run are shown again by this one, when its flags say so.
void RecoverBands(const fw::ProfileSection& section, CCrashJournal::Leftover& left) {
    for (int i = 0, n = Count(section, kBandCount); i < n; ++i) {
        const Entry e = Parse(section.GetString(journal::ValueName(L"Band", i).c_str(), L""), true);
        const HWND child = journal::HandleOf(e.number);
        if (e.same && IsWindow(child) && GetParent(child) == e.window) left.bands.push_back({e.window, child});
    }
}
}  // namespace

CCrashJournal::Leftover CCrashJournal::Recover() const {
    Leftover left;
    if (!profile_.SectionExists(kJournal)) return left;
    {
        const fw::ProfileSection section(profile_, kJournal, fw::ProfileSection::Access::Read);
        if (section.GetInt(kFormat, 0) == kFormatVersion) {
            RecoverShaded(section);
            RecoverClickThrough(section);
            RecoverClock(section, left);
            RecoverStartButton(section, left);
            RecoverBands(section, left);
        }
    }
    Clear();
    return left;
}

void CCrashJournal::RecordShaded(const std::list<ShadeRecord>& records) const {
    const fw::ProfileSection section(profile_, kJournal, fw::ProfileSection::Access::WriteVolatile);
    section.WriteInt(kFormat, kFormatVersion);
    int i = 0;
    for (const ShadeRecord& r : records)
        section.WriteString(journal::ValueName(L"Shaded", i++).c_str(), Identity(r.window, &r.height));
    section.WriteInt(kShadedCount, i);
}

void CCrashJournal::RecordClickThrough(const std::vector<ClickThroughRecord>& records) const {
    const fw::ProfileSection section(profile_, kJournal, fw::ProfileSection::Access::WriteVolatile);
    section.WriteInt(kFormat, kFormatVersion);
    int i = 0;
    for (const ClickThroughRecord& r : records) {
        const int state = (r.level & 0xFF) | (r.layered ? kWasLayered : 0) | (r.onTop ? kWasOnTop : 0);
        section.WriteString(journal::ValueName(L"ClickThrough", i++).c_str(), Identity(r.window, &state));
    }
    section.WriteInt(kClickThroughCount, i);
}

void CCrashJournal::RecordClock(const std::vector<journal::Title>& carriers) const {
    const fw::ProfileSection section(profile_, kJournal, fw::ProfileSection::Access::WriteVolatile);
    section.WriteInt(kFormat, kFormatVersion);
    // The titles first: a window is never named without its own title.
    int i = 0;
    for (const journal::Title& c : carriers) {
        section.WriteString(journal::ValueName(L"Clock", i, L"Title").c_str(), c.title);
        section.WriteString(journal::ValueName(L"Clock", i++).c_str(), Identity(c.window));
    }
    section.WriteInt(kClockCount, i);
}

void CCrashJournal::RecordStartButton(const std::wstring& ownText, const std::wstring& setText) const {
    const fw::ProfileSection section(profile_, kJournal, fw::ProfileSection::Access::WriteVolatile);
    section.WriteInt(kFormat, kFormatVersion);
    section.WriteString(kButtonOwnText, ownText);
    section.WriteString(kButtonSetText, setText);
    section.WriteInt(kButtonSet, 1);
}

void CCrashJournal::RecordBands(const std::vector<journal::Band>& bands) const {
    const fw::ProfileSection section(profile_, kJournal, fw::ProfileSection::Access::WriteVolatile);
    section.WriteInt(kFormat, kFormatVersion);
    int i = 0;
    for (const journal::Band& b : bands) {
        const int child = static_cast<int>(journal::HandleWord(b.child));
        section.WriteString(journal::ValueName(L"Band", i++).c_str(), Identity(b.rebar, &child));
    }
    section.WriteInt(kBandCount, i);
}

void CCrashJournal::KeepClock(std::vector<journal::Title> carriers) {
    if (carriers == journaledClock_) return;
    journaledClock_ = std::move(carriers);
    RecordClock(journaledClock_);
}

void CCrashJournal::KeepBands(std::vector<journal::Band> bands) {
    if (bands == journaledBands_) return;
    journaledBands_ = std::move(bands);
    RecordBands(journaledBands_);
}

void CCrashJournal::BeforeStartButtonText(const std::wstring& ownText, const std::wstring& text) {
    if (text != ownText && text != journaledButtonText_) RecordStartButton(ownText, text);
}

void CCrashJournal::AfterStartButtonText(const std::wstring& ownText, const std::wstring& text) {
    if (text != ownText) {
        journaledButtonText_ = text;
    } else if (!journaledButtonText_.empty() && shell::StartButtonAnswers() && shell::ReadStartButtonText() == text) {
        // A button that did not take its own text back (a hung shell), or that may still
        // take a text of ours late, is given it back later, by this run or the next start.
        ForgetStartButton();
        journaledButtonText_.clear();
    }
}

void CCrashJournal::KeepLeftStartButton(const std::wstring& ownText, const std::wstring& setText) {
    RecordStartButton(ownText, setText);
    journaledButtonText_ = setText;
}

void CCrashJournal::ForgetStartButton() const {
    fw::ProfileSection(profile_, kJournal, fw::ProfileSection::Access::WriteVolatile).WriteInt(kButtonSet, 0);
}

void CCrashJournal::ClearGivenBack() const {
    if (!profile_.SectionExists(kJournal)) return;
    // The program forgets each entry once its window has answered what gives it back:
    // what is left may still be changed late, after this end, and is kept.
    bool left = false;
    {
        const fw::ProfileSection section(profile_, kJournal, fw::ProfileSection::Access::Read);
        left = Count(section, kClockCount) > 0 || section.GetInt(kButtonSet, 0) || Count(section, kBandCount) > 0 ||
               Count(section, kClickThroughCount) > 0;
    }
    if (!left) {
        Clear();
        return;
    }
    // Shaded windows are rolled down by moves queued for them, hung or not; the
    // click-through windows left on record did not answer.
    fw::ProfileSection(profile_, kJournal, fw::ProfileSection::Access::WriteVolatile).WriteInt(kShadedCount, 0);
}

void CCrashJournal::Clear() const { profile_.DeleteSection(kJournal); }

bool CCrashJournal::ShowsClock(HWND window, const std::wstring& ownTitle) {
    if (!window || !IsWindow(window)) return false;
    return journal::ShowsClock(fw::WindowText(window), ownTitle);
}

}  // namespace app
