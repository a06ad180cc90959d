#include "window_rules.h"

#include <algorithm>

#include "process_name.h"
#include "program_windows.h"
#include "window_util.h"

namespace app {

namespace {
// Windows 2000 has no GetLayeredWindowAttributes: looked up at run time.
using GetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF*, BYTE*, DWORD*);
GetLayeredFn GetLayered() {
    return reinterpret_cast<GetLayeredFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetLayeredWindowAttributes")));
}

}  // namespace

bool CWindowRules::Use(const ProgramRules& rules, const shell::ClassFilterList& classFilter, int level) {
    std::vector<Prepared> before = std::move(rules_);
    rules_.clear();
    whileInactive_ = false;
    for (const ProgramRule& rule : rules)
        if (IsUsableRule(rule)) {
            rules_.push_back({fw::FileNameKey(rule.Program), rule});
            whileInactive_ = whileInactive_ || rule.WhileInactive;
        }
    classFilter_ = classFilter;
    clickThroughLevel_ = level;

    // What is new or changed goes to the windows open now; a rule that went leaves the
    // windows as they are (as a gesture would), only the next ones come up ordinary.
    std::vector<const Prepared*> fresh;
    for (const Prepared& p : rules_)
        if (std::none_of(before.begin(), before.end(), [&](const Prepared& b) { return b.rule == p.rule; }))
            fresh.push_back(&p);
    const bool changed = !fresh.empty() || before.size() != rules_.size();
    if (fresh.empty()) return changed;
    for (const shell::ProgramWindow& open : shell::OpenProgramWindows()) {
        if (shell::IsFilteredClass(open.className, classFilter_)) continue;
        const ProgramRule* rule = Match(fw::FileNameKey(open.program), open.className);
        if (!rule) continue;
        for (const Prepared* p : fresh)
            if (&p->rule == rule) ApplyTo(open.window, *rule);
    }
    return changed;
}

void CWindowRules::OnWindowCreated(HWND window) {
    if (const ProgramRule* rule = RuleOf(window)) ApplyTo(window, *rule);
}

const ProgramRule* CWindowRules::RuleOf(HWND window) {
    // With no rules a window costs nothing more; a window of a program without a rule
    // costs the question whose it is, answered from memory for a process met before.
    if (rules_.empty()) return nullptr;
    const DWORD processId = fw::ProcessOf(window);
    if (!processId || processId == GetCurrentProcessId()) return nullptr;
    const std::wstring& programKey = programs_.KeyOf(processId);
    if (programKey.empty() || !HasRuleFor(programKey)) return nullptr;
    const std::wstring className = fw::ClassName(window);
    const ProgramRule* rule = Match(programKey, className);
    if (!rule || !shell::IsRuleWindow(window, className) || shell::IsFilteredClass(className, classFilter_))
        return nullptr;
    return rule;
}

bool CWindowRules::HasRuleFor(const std::wstring& programKey) const {
    for (const Prepared& p : rules_)
        if (p.programKey == programKey) return true;
    return false;
}

const ProgramRule* CWindowRules::Match(const std::wstring& programKey, const std::wstring& className) const {
    const ProgramRule* wholeProgram = nullptr;
    for (const Prepared& p : rules_) {
        if (p.programKey != programKey) continue;
        if (p.rule.Class.empty()) {
            if (!wholeProgram) wholeProgram = &p.rule;
        } else if (p.rule.Class == className) {
            return &p.rule;
        }
    }
    return wholeProgram;
}

void CWindowRules::ApplyTo(HWND window, const ProgramRule& rule) const {
    // Translucent only while inactive: the active window stays opaque for now.
    if (rule.Level && !(rule.WhileInactive && GetForegroundWindow() == window))
        library_.SetTransparent(window, rule.Level);
    if (rule.ClickThrough) clickThrough_.Make(window, rule.Level ? rule.Level : clickThroughLevel_);
    // Posted to the window's thread: a hung program does not hold this one.
    if (rule.OnTop && !(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

void CWindowRules::OnActivated(HWND window) {
    // Reports come for activation and deactivation alike, and may come after the next
    // change. While another program's window is active, its own report names it; while
    // no such window is (the shell's or this program's is), the reported window was
    // the last of them to be active.
    const HWND active = GetForegroundWindow();
    if (whileInactive_) {
        // The report may be the window's activation or its deactivation: what holds is
        // whether it is the active window now. A click-through window keeps its level.
        const ProgramRule* rule = RuleOf(window);
        if (rule && rule->WhileInactive && !clickThrough_.Contains(window)) {
            if (active == window)
                library_.RemoveTransparent(window);
            else
                library_.SetTransparent(window, rule->Level);
        }
    }
    if (active != window && active && shell::IsRuleWindow(active, fw::ClassName(active))) return;
    if (!shell::IsRuleWindow(window, fw::ClassName(window))) return;
    lastActive_ = window;
    lastActiveProcess_ = fw::ProcessOf(window);
}

HWND CWindowRules::LastActiveWindow() const {
    // The active window, unless the shell took the activation (a click on its tray does).
    const HWND active = GetForegroundWindow();
    if (active && shell::IsRuleWindow(active, fw::ClassName(active))) return active;
    // A handle may have gone, or come to another program's window since.
    if (lastActive_ && fw::ProcessOf(lastActive_) == lastActiveProcess_ &&
        shell::IsRuleWindow(lastActive_, fw::ClassName(lastActive_)))
        return lastActive_;
    return nullptr;
}

bool CWindowRules::RuleOfWindow(HWND window, ProgramRule& rule) {
    rule = {};
    rule.Program = fw::ProcessFileName(fw::ProcessOf(window));
    if (rule.Program.empty()) return false;
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (exStyle & WS_EX_LAYERED) {
        BYTE alpha = 255;
        DWORD flags = 0;
        const GetLayeredFn getLayered = GetLayered();
        // A window layered for a colour key alone has no level of its own.
        if (getLayered && getLayered(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
            rule.Level = std::max<int>(alpha, kLevelLow);
    }
    rule.OnTop = (exStyle & WS_EX_TOPMOST) ? 1 : 0;
    return IsUsableRule(rule);
}

}  // namespace app
