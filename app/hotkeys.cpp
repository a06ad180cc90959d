#include "hotkeys.h"

#include "system_version.h"

namespace app {

namespace {
// The ids of the rows, above anything else the window might hold.
constexpr int kFirstId = 0x100;
// MOD_NOREPEAT (Windows 7 and later): a key held down acts once. Older systems refuse
// the flag, so it is given only where it is known.
constexpr UINT kNoRepeat = 0x4000;

UINT RepeatFlag() {
    const fw::WindowsVersion v = fw::QueryWindowsVersion();
    return v.known && (v.major > 6 || (v.major == 6 && v.minor >= 1)) ? kNoRepeat : 0;
}
}  // namespace

Hotkeys LoadHotkeys(const fw::Profile& profile) {
    Hotkeys keys = DefaultHotkeys();
    const fw::ProfileSection section(profile, kHotkeysSection, fw::ProfileSection::Access::Read);
    for (size_t i = 0; i < kHotkeyCount; ++i) {
        if (section.ValueType(kHotkeyRows[i].name) != REG_DWORD) continue;
        const int stored = section.GetInt(kHotkeyRows[i].name, 0);
        if (const std::optional<Hotkey> key = DecodeHotkey(static_cast<DWORD>(stored))) keys[i] = *key;
    }
    return keys;
}

void SaveHotkeys(const fw::Profile& profile, const Hotkeys& keys) {
    const fw::ProfileSection section(profile, kHotkeysSection, fw::ProfileSection::Access::Write);
    for (size_t i = 0; i < kHotkeyCount; ++i)
        section.WriteInt(kHotkeyRows[i].name, static_cast<int>(EncodeHotkey(keys[i])));
}

void CHotkeys::Take(HWND window, const Hotkeys& keys) {
    Release();
    window_ = window;
    const UINT repeat = RepeatFlag();
    for (size_t i = 0; i < kHotkeyCount; ++i) {
        if (!keys[i].on) continue;
        held_[i] = RegisterHotKey(window, kFirstId + static_cast<int>(i), keys[i].modifiers | repeat, keys[i].key) !=
                   FALSE;
        taken_[i] = !held_[i];
    }
}

void CHotkeys::Release() {
    for (size_t i = 0; i < kHotkeyCount; ++i) {
        if (held_[i]) UnregisterHotKey(window_, kFirstId + static_cast<int>(i));
        held_[i] = false;
        taken_[i] = false;
    }
}

std::optional<HotkeyAction> CHotkeys::ActionOf(WPARAM id) {
    if (id < static_cast<WPARAM>(kFirstId) || id >= static_cast<WPARAM>(kFirstId) + kHotkeyCount) return std::nullopt;
    return kHotkeyRows[id - kFirstId].action;
}

}  // namespace app
