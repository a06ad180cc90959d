// The program's hotkeys: one row per action, the same actions as the title-bar
// gestures, each a key with its modifiers and on or off. They are stored in the key
// "Hotkeys" beside "Status", one REG_DWORD per action named as its row; a missing or
// malformed value means the row's default. The defaults are combinations of
// Ctrl+Shift+Windows that Windows itself does not use.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

namespace app {

enum class HotkeyAction { Translucency, MoreOpaque, LessOpaque, OnTop, RollUp, ClickThrough };

struct Hotkey {
    UINT key = 0;        // a virtual-key code
    UINT modifiers = 0;  // MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN
    bool on = false;
    bool operator==(const Hotkey&) const = default;
};

struct HotkeyRow {
    HotkeyAction action;
    const wchar_t* name;
    Hotkey initial;
};

inline constexpr UINT kHotkeyModifiers = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;
inline constexpr UINT kDefaultHotkeyModifiers = MOD_CONTROL | MOD_SHIFT | MOD_WIN;

inline constexpr HotkeyRow kHotkeyRows[] = {
    {HotkeyAction::Translucency, L"Translucency", {'T', kDefaultHotkeyModifiers, true}},
    {HotkeyAction::MoreOpaque, L"MoreOpaque", {VK_PRIOR, kDefaultHotkeyModifiers, true}},
    {HotkeyAction::LessOpaque, L"LessOpaque", {VK_NEXT, kDefaultHotkeyModifiers, true}},
    {HotkeyAction::OnTop, L"OnTop", {'A', kDefaultHotkeyModifiers, true}},
    {HotkeyAction::RollUp, L"RollUp", {'R', kDefaultHotkeyModifiers, true}},
    {HotkeyAction::ClickThrough, L"ClickThrough", {'X', kDefaultHotkeyModifiers, true}},
};
inline constexpr size_t kHotkeyCount = std::size(kHotkeyRows);
using Hotkeys = std::array<Hotkey, kHotkeyCount>;

// Every row at its default.
Hotkeys DefaultHotkeys();
// The stored form: the key in the low byte, the modifiers in the next, 1 above them
// when the row is on.
DWORD EncodeHotkey(const Hotkey& hotkey);
// Nothing for a value that no row could have stored (no key, bits beyond the three
// bytes, a modifier Windows does not know, "on" other than 0 or 1).
std::optional<Hotkey> DecodeHotkey(DWORD value);

}  // namespace app
