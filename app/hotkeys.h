// The hotkeys at work: the rows that are on, held by the program's window with
// RegisterHotKey while the program runs and is not paused. A combination that another
// program holds already stays with it: that row is marked taken, the others work. Their
// place in the registry: the key "Hotkeys" (model/hotkey_table.h).
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "hotkey_table.h"
#include "profile.h"

namespace app {

inline constexpr wchar_t kHotkeysSection[] = L"Hotkeys";

// The rows as stored; the default for each one missing or malformed.
Hotkeys LoadHotkeys(const fw::Profile& profile);
void SaveHotkeys(const fw::Profile& profile, const Hotkeys& keys);

class CHotkeys {
public:
    ~CHotkeys() { Release(); }

    // Holds the rows of `keys` that are on, for `window` (what it held before goes
    // first). WM_HOTKEY then brings the row's id.
    void Take(HWND window, const Hotkeys& keys);
    // Lets go of every row held.
    void Release();
    // Whether row `row` is on but held by another program.
    bool taken(size_t row) const { return row < kHotkeyCount && taken_[row]; }
    const std::array<bool, kHotkeyCount>& held() const { return held_; }
    // The action of a WM_HOTKEY id of ours.
    static std::optional<HotkeyAction> ActionOf(WPARAM id);

private:
    HWND window_ = nullptr;
    std::array<bool, kHotkeyCount> held_{};
    std::array<bool, kHotkeyCount> taken_{};
};

}  // namespace app
