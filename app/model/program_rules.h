// The user's rules per program: what the captioned top-level windows of one program (or
// of one window class of it) get when they appear. Plain values: the program keeps and
// applies them, the settings sheet edits them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "process_name.h"
#include "settings_table.h"

namespace app {

struct ProgramRule {
    // The executable's file name ("notepad.exe"), compared as Windows compares file
    // names: without regard to case.
    std::wstring Program;
    // One window class only (compared exactly), or every class when empty.
    std::wstring Class;
    // The translucency level, 10 to 255; 0 leaves the window's translucency alone.
    int Level = 0;
    // Whether the window is put always on top.
    int OnTop = 0;
    // Whether the window comes up click-through (at Level, or at the program's level
    // when Level is 0).
    int ClickThrough = 0;
    // Whether Level holds only while the window is not the active one: opaque while it is.
    int WhileInactive = 0;
};

using ProgramRules = std::vector<ProgramRule>;

inline constexpr size_t kMaxProgramRules = 64;
// The translucency levels that the pages and the rules offer (0 would hide a window).
inline constexpr int kLevelLow = CLAROVIA_LEVEL_LOW;
inline constexpr int kLevelHigh = CLAROVIA_LEVEL_HIGH;
// File and class names of this length or longer are never a program's or a class's.
inline constexpr size_t kRuleNameLimit = 260;

// Whether the rule names a program and does something: what is stored and applied.
inline bool IsUsableRule(const ProgramRule& rule) {
    if (rule.Program.empty() || rule.Program.size() >= kRuleNameLimit || rule.Class.size() >= kRuleNameLimit)
        return false;
    // A file name, not a path.
    if (rule.Program.find_first_of(L"\\/") != std::wstring::npos) return false;
    if (rule.Level != 0 && (rule.Level < kLevelLow || rule.Level > kLevelHigh)) return false;
    if (rule.OnTop != 0 && rule.OnTop != 1) return false;
    if ((rule.ClickThrough != 0 && rule.ClickThrough != 1) || (rule.WhileInactive != 0 && rule.WhileInactive != 1))
        return false;
    // Translucent while inactive needs a level to be translucent at.
    if (rule.WhileInactive && !rule.Level) return false;
    return rule.Level != 0 || rule.OnTop != 0 || rule.ClickThrough != 0;
}

// Whether two rules are for the same windows: the same program and the same class. A
// list holds at most one rule for each.
inline bool SameTarget(const ProgramRule& a, const ProgramRule& b) {
    return a.Class == b.Class && fw::FileNameKey(a.Program) == fw::FileNameKey(b.Program);
}

inline constexpr size_t kNoRule = static_cast<size_t>(-1);

// Puts `rule` into the list in place of the rule at `replacing` (kNoRule: a new rule). A
// rule for the same windows as another one takes that one's place. Returns where it
// stands, or kNoRule when it is no usable rule or a new one finds the list full.
inline size_t PutRule(ProgramRules& rules, const ProgramRule& rule, size_t replacing = kNoRule) {
    if (!IsUsableRule(rule)) return kNoRule;
    size_t same = 0;
    while (same < rules.size() && (same == replacing || !SameTarget(rules[same], rule))) ++same;
    if (same == rules.size()) {
        if (replacing < rules.size()) {
            rules[replacing] = rule;
            return replacing;
        }
        if (rules.size() >= kMaxProgramRules) return kNoRule;
        rules.push_back(rule);
        return rules.size() - 1;
    }
    rules[same] = rule;
    if (replacing < rules.size()) {
        rules.erase(rules.begin() + static_cast<std::ptrdiff_t>(replacing));
        if (same > replacing) --same;
    }
    return same;
}

// Whether PutRule would take `rule` as a new one.
inline bool CanPutRule(const ProgramRules& rules, const ProgramRule& rule) {
    if (!IsUsableRule(rule)) return false;
    if (rules.size() < kMaxProgramRules) return true;
    for (const ProgramRule& r : rules)
        if (SameTarget(r, rule)) return true;
    return false;
}

inline bool operator==(const ProgramRule& a, const ProgramRule& b) {
    return a.Program == b.Program && a.Class == b.Class && a.Level == b.Level && a.OnTop == b.OnTop &&
           a.ClickThrough == b.ClickThrough && a.WhileInactive == b.WhileInactive;
}

}  // namespace app
