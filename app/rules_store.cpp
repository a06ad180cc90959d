#include "rules_store.h"

#include <algorithm>
#include <utility>

#include "decimal.h"

namespace app {

namespace {
constexpr wchar_t kRules[] = L"Rules";
constexpr wchar_t kProgram[] = L"Program";
constexpr wchar_t kClass[] = L"Class";
constexpr wchar_t kLevel[] = L"Level";
constexpr wchar_t kOnTop[] = L"OnTop";
constexpr wchar_t kClickThrough[] = L"ClickThrough";
constexpr wchar_t kWhileInactive[] = L"WhileInactive";
// Entry names beyond this are not read (far more than the rules there can be).
constexpr int kLastEntry = 9999;

std::wstring EntryPath(int index) { return std::wstring(kRules) + L"\\" + fw::Decimal(index); }

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// The entry as a rule, or false when a value has the wrong type.
bool ReadRule(const fw::ProfileSection& entry, ProgramRule& rule) {
    if (!IsText(entry.ValueType(kProgram))) return false;
    const DWORD classType = entry.ValueType(kClass);
    const DWORD levelType = entry.ValueType(kLevel);
    const DWORD onTopType = entry.ValueType(kOnTop);
    if (classType != fw::ProfileSection::kMissing && !IsText(classType)) return false;
    if (levelType != fw::ProfileSection::kMissing && levelType != REG_DWORD) return false;
    if (onTopType != fw::ProfileSection::kMissing && onTopType != REG_DWORD) return false;
    rule.Program = entry.GetString(kProgram, L"");
    rule.Class = entry.GetString(kClass, L"");
    // A value of the right type that does not read whole (too short) reads as out of range.
    rule.Level = entry.GetInt(kLevel, levelType == fw::ProfileSection::kMissing ? 0 : -1);
    rule.OnTop = entry.GetInt(kOnTop, onTopType == fw::ProfileSection::kMissing ? 0 : -1);
    // Written by later versions only: missing is 0, another type out of range.
    for (const auto& [name, field] : {std::pair{kClickThrough, &ProgramRule::ClickThrough},
                                      std::pair{kWhileInactive, &ProgramRule::WhileInactive}}) {
        const DWORD type = entry.ValueType(name);
        rule.*field = type == fw::ProfileSection::kMissing ? 0 : type == REG_DWORD ? entry.GetInt(name, -1) : -1;
    }
    return true;
}
}  // namespace

ProgramRules LoadProgramRules(const fw::Profile& profile) {
    ProgramRules rules;
    const fw::ProfileSection key(profile, kRules, fw::ProfileSection::Access::Read);
    std::vector<int> indexes;
    for (const std::wstring& name : key.SectionNames()) {
        const int index = fw::DecimalIndex(name, kLastEntry);
        if (index >= 0) indexes.push_back(index);
    }
    std::sort(indexes.begin(), indexes.end());
    for (const int index : indexes) {
        if (rules.size() >= kMaxProgramRules) break;
        const fw::ProfileSection entry(profile, EntryPath(index).c_str(), fw::ProfileSection::Access::Read);
        ProgramRule rule;
        if (!ReadRule(entry, rule) || !IsUsableRule(rule)) continue;
        if (std::any_of(rules.begin(), rules.end(), [&](const ProgramRule& r) { return SameTarget(r, rule); }))
            continue;
        rules.push_back(std::move(rule));
    }
    return rules;
}

void SaveProgramRules(const fw::Profile& profile, const ProgramRules& rules) {
    int written = 0;
    for (const ProgramRule& rule : rules) {
        if (!IsUsableRule(rule) || written >= static_cast<int>(kMaxProgramRules)) continue;
        const fw::ProfileSection entry(profile, EntryPath(written).c_str(), fw::ProfileSection::Access::Write);
        entry.WriteString(kProgram, rule.Program);
        entry.WriteString(kClass, rule.Class);
        entry.WriteInt(kLevel, rule.Level);
        entry.WriteInt(kOnTop, rule.OnTop);
        entry.WriteInt(kClickThrough, rule.ClickThrough);
        entry.WriteInt(kWhileInactive, rule.WhileInactive);
        ++written;
    }
    // The numbered entries beyond the rules are earlier rules (or ones skipped at
    // loading); keys of other names are not the program's and stay.
    const fw::ProfileSection key(profile, kRules, fw::ProfileSection::Access::Read);
    for (const std::wstring& name : key.SectionNames()) {
        const int index = fw::DecimalIndex(name, kLastEntry);
        if (index >= written) profile.DeleteSection(EntryPath(index).c_str());
    }
}

}  // namespace app
