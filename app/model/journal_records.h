// The crash journal's records and how they read as text: the windows the program has
// changed, named so that the next start can tell whether a handle still names the same
// window. Text and plain values only; which window a record names now, and what it
// shows, is for the journal to ask the system.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace app::journal {

// A window that carries the clock, or may still, with its own title.
struct Title {
    HWND window;
    std::wstring title;
    bool operator==(const Title&) const = default;
};

// A band the program hid in a folder window's rebar.
struct Band {
    HWND rebar;
    HWND child;
    bool operator==(const Band&) const = default;
};

// One journaled window as one value: "window pid class", or "window pid number class"
// for the records that carry a number (a shaded window's height, a hidden band's child
// as a handle word).
struct Entry {
    HWND window = nullptr;
    DWORD process = 0;
    int number = 0;
    std::wstring className;
};

std::wstring Format(const Entry& entry, bool withNumber);
// The entry that `text` writes, or none when its numbers do not read whole (one
// missing, or beyond what it may be). The class is the rest of the text.
std::optional<Entry> Parse(const std::wstring& text, bool withNumber);

// Window handles are 32-bit significant in every process: written as such, and read
// back sign-extended as the system makes them.
long long HandleWord(HWND window);
HWND HandleOf(long long word);

// The name of the value of record `index`: stem, index, tail ("Clock3Title").
std::wstring ValueName(const wchar_t* stem, int index, const wchar_t* tail = L"");

// No more records than this are read back, whatever the count says.
inline constexpr int kMaxEntries = 256;
// How many records a stored count lets the journal read: 0 to kMaxEntries.
int ReadableCount(int stored);

// Whether `title` is `ownTitle` with a clock behind it.
bool ShowsClock(const std::wstring& title, const std::wstring& ownTitle);

}  // namespace app::journal
