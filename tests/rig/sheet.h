// The running program's settings sheet as a user meets it: found on the screen, its
// controls read back from outside (check states, enabled states, texts, trackbar
// positions, places), and worked with real clicks and keys.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "program.h"

namespace rig {

inline constexpr wchar_t kSheetCaption[] = L"Clarovia v2.8.2.2";
inline constexpr int kApplyButton = 0x3021;

class Sheet {
public:
    // The program whose sheet this is; set before any other call.
    void SetProgram(const Program& program) { program_ = &program; }

    // Waits until the sheet is shown with a page (true) or the timeout passes.
    bool WaitOpen(DWORD timeoutMs = 5000);
    bool WaitClosed(DWORD timeoutMs = 5000);
    // Every sheet window the program shows (so a second one would be seen).
    std::vector<HWND> Windows() const;
    HWND hwnd() const { return hwnd_; }

    // The tab on top, and the number of tabs.
    int PageIndex() const;
    int PageCount() const;
    // Brings tab `index` to the top (as the sheet's own keyboard handling would).
    bool SelectPage(int index);
    HWND Page() const;
    // Every page window the sheet has made so far, the one on top or not.
    std::vector<HWND> Pages() const;
    HWND Item(int id) const;

    int Check(int id) const;
    bool Enabled(int id) const;
    std::wstring Text(int id) const;
    int Level(int id) const;
    bool ApplyEnabled() const;
    // A control's rectangle in the page's client coordinates.
    RECT ItemRect(int id) const;
    // The tab control's display area in screen coordinates, as the tab itself reckons
    // it (TCM_ADJUSTRECT on its client rectangle).
    RECT PageArea() const;

    // A real click in the middle of a control of the page, or of a sheet button.
    void Click(int id) const;
    void ClickButton(int id) const;
    // Clicks a check box or radio button and waits until its state is `state`.
    bool ClickTo(int id, int state) const;
    // The focused control of the program (any window of its thread).
    HWND Focused() const;
    // Presses Tab until control `id` of the page has the focus; the controls passed
    // on the way go to `visited` (the one reached last).
    bool TabTo(int id, std::vector<int>* visited = nullptr) const;
    // Moves the focused trackbar `id` to `level` with Home/End and arrow keys.
    bool KeysToLevel(int id, int level) const;

private:
    const Program* program_ = nullptr;
    HWND hwnd_ = nullptr;
};

}  // namespace rig
