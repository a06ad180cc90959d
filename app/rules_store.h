// The rules per program in the registry: key "Rules" under the program's key, one key
// per rule named "0", "1", ... in the rules' order, each with "Program" (REG_SZ),
// "Class" (REG_SZ, empty or missing for every class), "Level" (REG_DWORD, 0 or 10-255)
// and "OnTop" (REG_DWORD, 0 or 1).
#pragma once

#include "profile.h"
#include "program_rules.h"

namespace app {

// The usable rules, in their order, at most 64: an entry with a value of the wrong type,
// a level out of range, a name of 260 characters or more, or the same program and class
// as an earlier one is skipped.
ProgramRules LoadProgramRules(const fw::Profile& profile);
// Writes `rules` as the whole key: entries beyond them go.
void SaveProgramRules(const fw::Profile& profile, const ProgramRules& rules);

}  // namespace app
