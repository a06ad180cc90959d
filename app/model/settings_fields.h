// The user's settings as values: one field per registry value of the "Status" key, named
// as the value (settings_table.h). The program's settings record (AppSettings) is built
// on it and adds loading, saving and what is not stored; the settings sheet edits these
// fields, and the rules per program.
#pragma once

#include <string>

#include "program_rules.h"
#include "settings_table.h"

namespace app {

inline constexpr wchar_t kDefaultTimeFormat[] = L"%y/%m/%d %H:%M:%S";

struct SettingsFields {
#define CLAROVIA_NUMBER_FIELD(name, initial) int name{};
#define CLAROVIA_TEXT_FIELD(name, initial) std::wstring name;
    CLAROVIA_SETTINGS(CLAROVIA_NUMBER_FIELD, CLAROVIA_TEXT_FIELD, CLAROVIA_NUMBER_FIELD, CLAROVIA_NUMBER_FIELD)
#undef CLAROVIA_NUMBER_FIELD
#undef CLAROVIA_TEXT_FIELD
    // Stored in a key of their own ("Rules").
    ProgramRules Rules;
};

}  // namespace app
