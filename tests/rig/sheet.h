// The running program's settings sheet as a user meets it: found on the screen, its
// controls read back from outside (check states, enabled states, texts, trackbar
// positions, list views' rows, places), and worked with real clicks and keys. The
// controls of a page and of the program's other dialogs alike.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "program.h"

namespace rig {

inline constexpr wchar_t kSheetCaption[] = L"Clarovia v2.8.2.2";
inline constexpr int kApplyButton = 0x3021;

// A dialog of the program (a page of the sheet, or a dialog of its own) and its controls.
class DialogWindow {
public:
    explicit DialogWindow(HWND window = nullptr) : hwnd_(window) {}
    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    int Check(int id) const;
    bool Enabled(int id) const;
    std::wstring Text(int id) const;
    int Level(int id) const;
    // The rows of list view `id`, each with the texts of its columns; the selected row
    // (-1 if none).
    std::vector<std::vector<std::wstring>> Rows(int id) const;
    int Selected(int id) const;

    // A real click in the middle of a control.
    void Click(int id) const;
    // Clicks a check box or radio button and waits until its state is `state`.
    bool ClickTo(int id, int state) const;
    // A real click (or double-click) on row `row` of list view `id`; whether the row was
    // there to click and is selected afterwards.
    bool ClickRow(int id, int row, bool twice = false) const;
    // Moves the focused trackbar `id` to `level` with Home/End and arrow keys.
    bool KeysToLevel(int id, int level) const;

private:
    HWND hwnd_;
};

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
    HWND Item(int id) const { return PageWindow().Item(id); }
    // The page on top as a dialog.
    DialogWindow PageWindow() const { return DialogWindow(Page()); }

    int Check(int id) const { return PageWindow().Check(id); }
    bool Enabled(int id) const { return PageWindow().Enabled(id); }
    std::wstring Text(int id) const { return PageWindow().Text(id); }
    int Level(int id) const { return PageWindow().Level(id); }
    bool ApplyEnabled() const;
    // A control's rectangle in the page's client coordinates.
    RECT ItemRect(int id) const;
    // The tab control's display area in screen coordinates, as the tab itself reckons
    // it (TCM_ADJUSTRECT on its client rectangle).
    RECT PageArea() const;

    // A real click in the middle of a control of the page, or of a sheet button.
    void Click(int id) const { PageWindow().Click(id); }
    void ClickButton(int id) const;
    // Clicks a check box or radio button and waits until its state is `state`.
    bool ClickTo(int id, int state) const { return PageWindow().ClickTo(id, state); }
    // The focused control of the program (any window of its thread).
    HWND Focused() const;
    // Presses Tab until control `id` of the page has the focus; the controls passed
    // on the way go to `visited` (the one reached last).
    bool TabTo(int id, std::vector<int>* visited = nullptr) const;
    // Moves the focused trackbar `id` to `level` with Home/End and arrow keys.
    bool KeysToLevel(int id, int level) const { return PageWindow().KeysToLevel(id, level); }

private:
    const Program* program_ = nullptr;
    HWND hwnd_ = nullptr;
};

}  // namespace rig
