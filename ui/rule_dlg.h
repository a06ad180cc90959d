// The dialog of one rule per program: the program by its executable's file name (typed,
// or taken from a window of the open programs' list), optionally one window class, and
// what its windows get: a translucency level, always on top, or both.
#pragma once

#include <vector>

#include "dialog.h"
#include "program_rules.h"
#include "program_windows.h"

namespace ui {

class CRuleDlg : public fw::Dialog {
public:
    // Edits `rule` (a new one: no program yet, no level); owned by `owner`.
    CRuleDlg(HWND owner, const app::ProgramRule& rule);

    // The rule as the dialog shows it; after OK, the rule to keep.
    app::ProgramRule Rule;

protected:
    BOOL OnInitDialog() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The rule as the controls show it.
    app::ProgramRule ShownRule() const;
    // Enables the class edit, the level and OK as the boxes and the name allow.
    void UpdateControls();
    // Whether `rule`, as shown, can be kept: a program, something to do, and a class
    // when one is asked for.
    bool IsComplete(const app::ProgramRule& rule) const;

    std::vector<shell::ProgramWindow> windows_;
};

}  // namespace ui
