// The rules per program at work: a window that appears gets what its program's rule
// says (a translucency level through the gestures' own primitive, always on top), and so
// do the open windows of a rule that is new or changed. The windows of the class filter
// and the shell's own are left alone. Also the window that was active last, whose state
// the tray menu turns into a rule.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "class_filter.h"
#include "click_through.h"
#include "library_binding.h"
#include "process_name.h"
#include "program_rules.h"

namespace app {

class CWindowRules {
public:
    CWindowRules(const CLibraryBinding& library, CClickThrough& clickThrough)
        : library_(library), clickThrough_(clickThrough) {}
    CWindowRules(const CWindowRules&) = delete;
    CWindowRules& operator=(const CWindowRules&) = delete;

    // The rules to follow from now on. Those not followed before as they are now go to
    // the matching windows open now. Whether any rule is new, changed or gone.
    // A rule without a level makes its windows click-through at `level`.
    bool Use(const ProgramRules& rules, const shell::ClassFilterList& classFilter, int level);
    void OnWindowCreated(HWND window);

    // An activation the library reported; the last active window a rule may act on is
    // remembered (the shell's own windows, active while its menus are open, are not). A
    // window whose rule is translucent only while inactive turns opaque or translucent.
    void OnActivated(HWND window);
    // The active window, or while the shell's own is active, that window if it is
    // still there.
    HWND LastActiveWindow() const;
    // The rule that gives `window` what it has now: its translucency level
    // and always on top, for every class. False when it has neither or its program
    // cannot be told.
    static bool RuleOfWindow(HWND window, ProgramRule& rule);

private:
    struct Prepared {
        std::wstring programKey;  // fw::FileNameKey of the program
        ProgramRule rule;
    };
    // The rule for a window of the program with key `programKey` and class `className`:
    // one for its class first, else one for the whole program.
    const ProgramRule* Match(const std::wstring& programKey, const std::wstring& className) const;
    bool HasRuleFor(const std::wstring& programKey) const;
    void ApplyTo(HWND window, const ProgramRule& rule) const;
    // The rule of an open window (none for the shell's, the filter's and this program's).
    const ProgramRule* RuleOf(HWND window);

    const CLibraryBinding& library_;
    CClickThrough& clickThrough_;
    int clickThroughLevel_ = 0;
    bool whileInactive_ = false;  // any rule translucent only while inactive
    std::vector<Prepared> rules_;
    shell::ClassFilterList classFilter_;
    fw::ProcessNames programs_;
    HWND lastActive_ = nullptr;
    DWORD lastActiveProcess_ = 0;
};

}  // namespace app
