#include "hotkey_table.h"

namespace app {

Hotkeys DefaultHotkeys() {
    Hotkeys keys;
    for (size_t i = 0; i < kHotkeyCount; ++i) keys[i] = kHotkeyRows[i].initial;
    return keys;
}

DWORD EncodeHotkey(const Hotkey& hotkey) {
    return (hotkey.key & 0xFF) | ((hotkey.modifiers & kHotkeyModifiers) << 8) | (hotkey.on ? 0x10000u : 0u);
}

std::optional<Hotkey> DecodeHotkey(DWORD value) {
    const UINT key = value & 0xFF, modifiers = (value >> 8) & 0xFF, on = value >> 16;
    if (!key || (modifiers & ~kHotkeyModifiers) || on > 1) return std::nullopt;
    return Hotkey{key, modifiers, on == 1};
}

}  // namespace app
