// The user's settings as values: one field per registry value of the "Status" key, named
// as the value (settings_table.h). The program's settings record (AppSettings) is built
// on it and adds loading, saving and what is not stored; the settings sheet edits these
// fields, and the rules per program.
#pragma once

#include <string>

#include "hotkey_table.h"
#include "program_rules.h"
#include "settings_table.h"

namespace app {

inline constexpr wchar_t kDefaultTimeFormat[] = L"%y/%m/%d %H:%M:%S";

struct SettingsFields {
#define CLAROVIA_NUMBER_FIELD(name, ...) int name{};
#define CLAROVIA_TEXT_FIELD(name, ...) std::wstring name;
    CLAROVIA_SETTINGS(CLAROVIA_NUMBER_FIELD, CLAROVIA_NUMBER_FIELD, CLAROVIA_NUMBER_FIELD, CLAROVIA_NUMBER_FIELD,
                      CLAROVIA_NUMBER_FIELD, CLAROVIA_TEXT_FIELD, CLAROVIA_NUMBER_FIELD)
#undef CLAROVIA_NUMBER_FIELD
#undef CLAROVIA_TEXT_FIELD
    // Stored in keys of their own ("Rules", "Hotkeys").
    ProgramRules Rules;
    Hotkeys Keys = DefaultHotkeys();
    // Not stored: the rows of Keys the program holds now (the page tells those from
    // combinations another program holds).
    std::array<bool, kHotkeyCount> KeysHeld{};
};

// What the settings pages offer for a number (the registry may hold anything).
struct NumberRange {
    int low;
    int high;
};

// The range of the number `field` (for a setting without a range of its own, every
// number).
constexpr NumberRange RangeOf(int SettingsFields::*field) {
    struct Row {
        int SettingsFields::*field;
        NumberRange range;
    };
#define CLAROVIA_RANGE_ROW(name, initial, low, high, ...) Row{&SettingsFields::name, {low, high}},
#define CLAROVIA_TASKBAR_RANGE(name, ...) Row{&SettingsFields::name, {0, 1}},
    constexpr Row kRows[] = {CLAROVIA_SETTINGS(CLAROVIA_RANGE_ROW, CLAROVIA_RANGE_ROW, CLAROVIA_TASKBAR_RANGE,
                                               CLAROVIA_RANGE_ROW, CLAROVIA_RANGE_ROW, CLAROVIA_NO_ROW,
                                               CLAROVIA_NO_ROW)};
#undef CLAROVIA_RANGE_ROW
#undef CLAROVIA_TASKBAR_RANGE
    for (const Row& row : kRows)
        if (row.field == field) return row.range;
    return {-0x7FFFFFFF - 1, 0x7FFFFFFF};
}

}  // namespace app
