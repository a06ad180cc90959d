#include "keys_page.h"

#include <commctrl.h>

#include "dialog.h"
#include "resource.h"

namespace ui {

namespace {
int RowId(int first, size_t row) { return first + static_cast<int>(row); }

// The hotkey control's modifier bits and RegisterHotKey's.
constexpr struct {
    UINT control;
    UINT hotkey;
} kModifierBits[] = {{HOTKEYF_SHIFT, MOD_SHIFT}, {HOTKEYF_CONTROL, MOD_CONTROL}, {HOTKEYF_ALT, MOD_ALT}};

// Keys of the navigation block, which the control names apart from the number pad's.
bool IsExtendedKey(UINT key) {
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_DIVIDE;
}

// A probe of the system: whether this thread could hold the combination now.
bool CouldHold(HWND window, const app::Hotkey& key) {
    constexpr int kProbeId = 0xBFFF;
    if (!RegisterHotKey(window, kProbeId, key.modifiers, key.key)) return false;
    UnregisterHotKey(window, kProbeId);
    return true;
}
}  // namespace

CKeysPage::CKeysPage() : CClaroviaPage(IDD_KEYS_PAGE) {}

BOOL CKeysPage::OnInitDialog() {
    const HWND page = hwnd();
    // The last row first: each row placed goes before the ones placed earlier in the
    // tab order, and within a row the last item first for the same reason.
    for (size_t row = app::kHotkeyCount; row-- > 0;) {
        const app::Hotkey& key = Settings->Keys[row];
        fw::SetCheck(page, RowId(IDC_KEYS_ON, row), key.on);
        fw::SetCheck(page, RowId(IDC_KEYS_WIN, row), (key.modifiers & MOD_WIN) != 0);
        UINT flags = IsExtendedKey(key.key) ? HOTKEYF_EXT : 0;
        for (const auto& bit : kModifierBits)
            if (key.modifiers & bit.hotkey) flags |= bit.control;
        const HWND control = GetDlgItem(page, RowId(IDC_KEYS_KEY, row));
        // Any key alone is a combination too: no rule that the control would enforce.
        SendMessageW(control, HKM_SETRULES, 0, 0);
        SendMessageW(control, HKM_SETHOTKEY, MAKEWORD(key.key, flags), 0);
        const int y = 8 + 22 * static_cast<int>(row);
        // The row's tab order: on, Windows key, combination.
        fw::PlaceItems(page, {{RowId(IDC_KEYS_STATE, row), 276, y + 3, 38, 16},
                              {RowId(IDC_KEYS_KEY, row), 142, y, 130, 20},
                              {RowId(IDC_KEYS_WIN, row), 100, y, 40, 20},
                              {RowId(IDC_KEYS_ON, row), 8, y, 90, 20}});
    }
    ShowTaken();
    return TRUE;
}

LRESULT CKeysPage::OnSetActive() {
    ShowTaken();
    return 0;
}

app::Hotkey CKeysPage::Shown(size_t row) const {
    const WORD value = static_cast<WORD>(SendDlgItemMessageW(hwnd(), RowId(IDC_KEYS_KEY, row), HKM_GETHOTKEY, 0, 0));
    app::Hotkey key{LOBYTE(value), 0, Check(RowId(IDC_KEYS_ON, row)) != 0};
    for (const auto& bit : kModifierBits)
        if (HIBYTE(value) & bit.control) key.modifiers |= bit.hotkey;
    if (Check(RowId(IDC_KEYS_WIN, row))) key.modifiers |= MOD_WIN;
    return key;
}

void CKeysPage::ShowTaken() {
    const std::wstring taken = fw::ResourceString(IDS_KEYS_TAKEN);
    for (size_t row = 0; row < app::kHotkeyCount; ++row) {
        const app::Hotkey key = Shown(row);
        const bool ours = Settings->KeysHeld[row] && key == Settings->Keys[row];
        const bool isTaken = key.on && key.key && !ours && !CouldHold(hwnd(), key);
        fw::SetItemText(hwnd(), RowId(IDC_KEYS_STATE, row), isTaken ? taken.c_str() : L"");
    }
}

bool CKeysPage::IsClickable(int id) const {
    return (id >= IDC_KEYS_ON && id < RowId(IDC_KEYS_ON, app::kHotkeyCount)) ||
           (id >= IDC_KEYS_WIN && id < RowId(IDC_KEYS_WIN, app::kHotkeyCount));
}

void CKeysPage::OnClick(int) {
    MarkChanged();
    ShowTaken();
}

INT_PTR CKeysPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A combination typed into a row's control.
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) >= IDC_KEYS_KEY &&
        LOWORD(wParam) < RowId(IDC_KEYS_KEY, app::kHotkeyCount)) {
        MarkChanged();
        ShowTaken();
        return Default();
    }
    return CClaroviaPage::WindowProc(message, wParam, lParam);
}

LRESULT CKeysPage::OnApply() {
    for (size_t row = 0; row < app::kHotkeyCount; ++row) {
        app::Hotkey key = Shown(row);
        // A control left empty: the row goes off and keeps its combination.
        if (!key.key) key = {Settings->Keys[row].key, Settings->Keys[row].modifiers, false};
        Settings->Keys[row] = key;
    }
    return PSNRET_NOERROR;
}

}  // namespace ui
