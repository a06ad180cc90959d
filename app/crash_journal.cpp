#include "crash_journal.h"

#include <sstream>

#include "start_button.h"
#include "window_util.h"

namespace {
constexpr wchar_t kJournal[] = L"Journal";
constexpr wchar_t kShaded[] = L"Shaded";  // "window height" pairs, blank-separated
constexpr wchar_t kClockWindow[] = L"ClockWindow";
constexpr wchar_t kClockTitle[] = L"ClockTitle";
constexpr wchar_t kButtonOwnText[] = L"StartButtonOwnText";
constexpr wchar_t kButtonSetText[] = L"StartButtonSetText";
constexpr wchar_t kButtonSet[] = L"StartButtonSet";

// Window handles are 32-bit significant in every process: stored as such.
long long WordOf(HWND window) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(window)); }
HWND WindowOf(long long word) {
    return static_cast<HWND>(reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int32_t>(word))));
}

int Height(HWND window) {
    RECT rc = {};
    GetWindowRect(window, &rc);
    return rc.bottom - rc.top;
}

void RecoverShaded(const std::wstring& list) {
    std::wistringstream in(list);
    long long word = 0;
    int height = 0;
    while (in >> word >> height) {
        const HWND window = WindowOf(word);
        // Still rolled up as the program left it: unrolled. Anything else is the user's.
        if (height > 0 && IsWindow(window) && Height(window) == ShadedWindows::TitleBarHeight(window))
            ShadedWindows::ResizeKeepingPosition(window, height);
    }
}

void RecoverClock(HWND window, const std::wstring& ownTitle) {
    if (CrashJournal::ShowsClock(window, ownTitle))
        fw::SendBounded(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ownTitle.c_str()));
}

void RecoverStartButton(const std::wstring& ownText, const std::wstring& setText) {
    if (ReadStartButtonText() == setText) SetStartButtonText(ownText);
}
}  // namespace

void CrashJournal::Recover() const {
    if (!profile_.SectionExists(kJournal)) return;
    RecoverShaded(profile_.GetString(kJournal, kShaded, L""));
    RecoverClock(WindowOf(profile_.GetInt(kJournal, kClockWindow, 0)), profile_.GetString(kJournal, kClockTitle, L""));
    if (profile_.GetInt(kJournal, kButtonSet, 0))
        RecoverStartButton(profile_.GetString(kJournal, kButtonOwnText, L""),
                           profile_.GetString(kJournal, kButtonSetText, L""));
    Clear();
}

void CrashJournal::RecordShaded(const std::list<ShadeRecord>& records) const {
    std::wostringstream out;
    for (const ShadeRecord& r : records) out << WordOf(r.window) << L' ' << r.height << L' ';
    profile_.WriteString(kJournal, kShaded, out.str());
}

void CrashJournal::RecordClock(HWND window, const std::wstring& ownTitle) const {
    // The title first: a window without its title is never given an empty one.
    profile_.WriteString(kJournal, kClockTitle, window ? ownTitle : std::wstring());
    profile_.WriteInt(kJournal, kClockWindow, static_cast<int>(WordOf(window)));
}

void CrashJournal::RecordStartButton(const std::wstring& ownText, const std::wstring& setText) const {
    profile_.WriteString(kJournal, kButtonOwnText, ownText);
    profile_.WriteString(kJournal, kButtonSetText, setText);
    profile_.WriteInt(kJournal, kButtonSet, 1);
}

void CrashJournal::ForgetStartButton() const { profile_.WriteInt(kJournal, kButtonSet, 0); }

void CrashJournal::ClearGivenBack() const {
    if (!profile_.SectionExists(kJournal)) return;
    const bool clock = ShowsClock(WindowOf(profile_.GetInt(kJournal, kClockWindow, 0)),
                                  profile_.GetString(kJournal, kClockTitle, L""));
    const bool button = profile_.GetInt(kJournal, kButtonSet, 0) &&
                        ReadStartButtonText() == profile_.GetString(kJournal, kButtonSetText, L"");
    if (!clock && !button) {
        Clear();
        return;
    }
    // Shaded windows are rolled down by moves queued for them, hung or not.
    profile_.WriteString(kJournal, kShaded, L"");
    if (!clock) RecordClock(nullptr, L"");
    if (!button) ForgetStartButton();
}

void CrashJournal::Clear() const { profile_.DeleteSection(kJournal); }

bool CrashJournal::ShowsClock(HWND window, const std::wstring& ownTitle) {
    if (!window || !IsWindow(window)) return false;
    const std::wstring title = fw::WindowText(window);
    return title.size() > ownTitle.size() && title.compare(0, ownTitle.size(), ownTitle) == 0;
}
