#include "sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include "rig.h"

namespace rig {

namespace {
constexpr UINT kTimeoutMs = 2000;

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

POINT Centre(HWND window) {
    const RECT rc = WindowRect(window);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}
}  // namespace

std::vector<HWND> Sheet::Windows() const {
    std::vector<HWND> sheets;
    if (!program_) return sheets;
    for (const HWND w : program_->Windows(L"#32770"))
        if (WindowText(w) == kSheetCaption) sheets.push_back(w);
    return sheets;
}

bool Sheet::WaitOpen(DWORD timeoutMs) {
    return WaitFor(
        [&] {
            const std::vector<HWND> sheets = Windows();
            hwnd_ = sheets.empty() ? nullptr : sheets.front();
            return hwnd_ && Page();
        },
        timeoutMs);
}

bool Sheet::WaitClosed(DWORD timeoutMs) {
    return WaitFor([&] { return Windows().empty(); }, timeoutMs);
}

int Sheet::PageIndex() const { return static_cast<int>(Ask(PropSheet_GetTabControl(hwnd_), TCM_GETCURSEL)); }

int Sheet::PageCount() const { return static_cast<int>(Ask(PropSheet_GetTabControl(hwnd_), TCM_GETITEMCOUNT)); }

bool Sheet::SelectPage(int index) {
    Ask(hwnd_, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    return WaitFor([&] { return PageIndex() == index && Page(); });
}

HWND Sheet::Page() const { return reinterpret_cast<HWND>(Ask(hwnd_, PSM_GETCURRENTPAGEHWND)); }

std::vector<HWND> Sheet::Pages() const {
    std::vector<HWND> pages;
    for (HWND w = nullptr; (w = FindWindowExW(hwnd_, w, L"#32770", nullptr)) != nullptr;) pages.push_back(w);
    return pages;
}

HWND Sheet::Item(int id) const { return GetDlgItem(Page(), id); }

int Sheet::Check(int id) const { return static_cast<int>(Ask(Item(id), BM_GETCHECK)); }

bool Sheet::Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

std::wstring Sheet::Text(int id) const {
    // Edits keep their text themselves: asked with a message, which the system carries
    // across processes.
    wchar_t text[1024] = {};
    Ask(Item(id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

int Sheet::Level(int id) const { return static_cast<int>(Ask(Item(id), TBM_GETPOS)); }

bool Sheet::ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(hwnd_, kApplyButton)) != FALSE; }

RECT Sheet::ItemRect(int id) const {
    RECT rc = WindowRect(Item(id));
    MapWindowPoints(nullptr, Page(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT Sheet::PageArea() const {
    const HWND tab = PropSheet_GetTabControl(hwnd_);
    RECT area = {};
    GetClientRect(tab, &area);
    MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&area), 2);
    // The tab answers through a pointer: a rectangle in the program's memory.
    const HANDLE process = program_->process();
    void* remote = VirtualAllocEx(process, nullptr, sizeof area, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return RECT{};
    bool ok = WriteProcessMemory(process, remote, &area, sizeof area, nullptr);
    if (ok) {
        Ask(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(remote));
        ok = ReadProcessMemory(process, remote, &area, sizeof area, nullptr);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return ok ? area : RECT{};
}

void Sheet::Click(int id) const {
    const POINT pt = Centre(Item(id));
    LeftClick(pt.x, pt.y);
}

void Sheet::ClickButton(int id) const {
    const POINT pt = Centre(GetDlgItem(hwnd_, id));
    LeftClick(pt.x, pt.y);
}

bool Sheet::ClickTo(int id, int state) const {
    if (Check(id) == state) return true;
    Click(id);
    return WaitFor([&] { return Check(id) == state; });
}

HWND Sheet::Focused() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd_, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

bool Sheet::TabTo(int id, std::vector<int>* visited) const {
    const HWND target = Item(id);
    if (!Focused()) {
        // Nothing has the keyboard: the sheet comes back from another window.
        Recorder elsewhere;
        ShowWindow(elsewhere.hwnd(), SW_SHOWNA);
        Activate(elsewhere.hwnd());
        Activate(hwnd_);
        WaitFor([&] { return Focused() != nullptr; }, 1000);
    }
    for (int presses = 0; presses < 24; ++presses) {
        const HWND before = Focused();
        if (before == target) return true;
        KeyPress(VK_TAB);
        WaitFor([&] { return Focused() != before; }, 1000);
        if (visited && Focused() && GetParent(Focused()) == Page()) visited->push_back(GetDlgCtrlID(Focused()));
    }
    return Focused() == target;
}

bool Sheet::KeysToLevel(int id, int level) const {
    // From the nearer end of the range, then one step at a time.
    const bool fromTop = level > (10 + 255) / 2;
    KeyPress(fromTop ? VK_END : VK_HOME);
    if (!WaitFor([&] { return Level(id) == (fromTop ? 255 : 10); })) return false;
    const int steps = fromTop ? 255 - level : level - 10;
    for (int i = 0; i < steps; ++i) KeyPress(fromTop ? VK_LEFT : VK_RIGHT);
    return WaitFor([&] { return Level(id) == level; });
}

}  // namespace rig
