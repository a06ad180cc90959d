#include "sheet.h"

#include <cstdlib>

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

// Memory in the process of a window, for the controls that answer through a pointer.
class RemoteBlock {
public:
    RemoteBlock(HWND window, SIZE_T size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    char* address() const { return static_cast<char*>(address_); }
    bool Write(const void* from, SIZE_T size, SIZE_T offset = 0) const {
        return address_ && WriteProcessMemory(process_, address() + offset, from, size, nullptr);
    }
    bool Read(void* to, SIZE_T size, SIZE_T offset = 0) const {
        return address_ && ReadProcessMemory(process_, address() + offset, to, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

// The rectangle of row `row` of list view `list` that LVM_GETITEMRECT gives for `code`
// (LVIR_*), in screen coordinates.
bool RowRect(HWND list, int row, int code, RECT& rc) {
    const RemoteBlock block(list, sizeof rc);
    rc = RECT{code, 0, 0, 0};
    if (!block.Write(&rc, sizeof rc) || !Ask(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                             reinterpret_cast<LPARAM>(block.address())))
        return false;
    if (!block.Read(&rc, sizeof rc)) return false;
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return true;
}
}  // namespace

int DialogWindow::Check(int id) const { return static_cast<int>(Ask(Item(id), BM_GETCHECK)); }

bool DialogWindow::Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

std::wstring DialogWindow::Text(int id) const {
    // Edits keep their text themselves: asked with a message, which the system carries
    // across processes.
    wchar_t text[1024] = {};
    Ask(Item(id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

int DialogWindow::Level(int id) const { return static_cast<int>(Ask(Item(id), TBM_GETPOS)); }

std::vector<std::vector<std::wstring>> DialogWindow::Rows(int id) const {
    const HWND list = Item(id);
    const int rows = static_cast<int>(Ask(list, LVM_GETITEMCOUNT));
    const int columns = static_cast<int>(Ask(reinterpret_cast<HWND>(Ask(list, LVM_GETHEADER)), HDM_GETITEMCOUNT));
    // The item record, then the text it points to.
    constexpr int kChars = 300;
    const RemoteBlock block(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    std::vector<std::vector<std::wstring>> table;
    for (int row = 0; row < rows; ++row) {
        std::vector<std::wstring> texts;
        for (int column = 0; column < columns; ++column) {
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = reinterpret_cast<wchar_t*>(block.address() + sizeof item);
            item.cchTextMax = kChars;
            wchar_t text[kChars] = {};
            if (!block.Write(&item, sizeof item)) return {};
            const int length = static_cast<int>(
                Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.address())));
            if (length > 0 && !block.Read(text, static_cast<SIZE_T>(length) * sizeof(wchar_t), sizeof item)) return {};
            texts.emplace_back(text, static_cast<size_t>(length > 0 ? length : 0));
        }
        table.push_back(std::move(texts));
    }
    return table;
}

int DialogWindow::Selected(int id) const {
    return static_cast<int>(Ask(Item(id), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void DialogWindow::Click(int id) const {
    const POINT pt = Centre(Item(id));
    LeftClick(pt.x, pt.y);
}

bool DialogWindow::ClickTo(int id, int state) const {
    if (Check(id) == state) return true;
    Click(id);
    return WaitFor([&] { return Check(id) == state; });
}

bool DialogWindow::ClickRow(int id, int row, bool twice) const {
    RECT rc;
    if (!RowRect(Item(id), row, LVIR_LABEL, rc)) return false;
    const int x = rc.left + 8, y = (rc.top + rc.bottom) / 2;
    if (twice)
        DoubleClick(x, y);
    else
        LeftClick(x, y);
    return WaitFor([&] { return Selected(id) == row; });
}

bool DialogWindow::KeysToLevel(int id, int level) const {
    // From the nearer end of the range, then one step at a time.
    const bool fromTop = level > (10 + 255) / 2;
    KeyPress(fromTop ? VK_END : VK_HOME);
    if (!WaitFor([&] { return Level(id) == (fromTop ? 255 : 10); })) return false;
    const HWND root = GetAncestor(hwnd_, GA_ROOT);
    for (int round = 0; round < 3; ++round) {
        const int from = Level(id);
        for (int i = 0; i < std::abs(from - level); ++i) KeyPress(from > level ? VK_LEFT : VK_RIGHT);
        // A loaded machine takes its time over a hundred keys: waited for while the
        // level moves.
        int last = -1;
        while (Level(id) != last) {
            last = Level(id);
            if (WaitFor([&] { return Level(id) == level; }, 2000)) return true;
        }
        // The keys stopped short. Only when the dialog had lost the activation (Wine
        // now and then hands it back to a window clicked before) does the rig know
        // where they went: the rest go again once it is back.
        if (GetForegroundWindow() == root || !Activate(root)) return false;
    }
    return Level(id) == level;
}

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
    const RemoteBlock block(tab, sizeof area);
    if (!block.Write(&area, sizeof area)) return RECT{};
    Ask(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(block.address()));
    return block.Read(&area, sizeof area) ? area : RECT{};
}

void Sheet::ClickButton(int id) const {
    const POINT pt = Centre(GetDlgItem(hwnd_, id));
    LeftClick(pt.x, pt.y);
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

}  // namespace rig
