#include "controls.h"

#include "resource_language.h"

namespace fw {

int ScreenDpi(int axis) {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, axis) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int CheckState(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}

void SetCheck(HWND dialog, int id, int state) {
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void EnableItems(HWND dialog, std::initializer_list<int> ids, bool enable) {
    for (const int id : ids) EnableWindow(GetDlgItem(dialog, id), enable);
}

void InitTrackbar(HWND dialog, int id, int low, int high, int position) {
    SendDlgItemMessageW(dialog, id, TBM_SETRANGE, FALSE, MAKELPARAM(low, high));
    SendDlgItemMessageW(dialog, id, TBM_SETPOS, TRUE, position);
}

int TrackbarPos(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, TBM_GETPOS, 0, 0)); }

void InitUpDown(HWND dialog, int id, int buddyId, int low, int high, int position) {
    SendDlgItemMessageW(dialog, id, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(dialog, buddyId)), 0);
    SendDlgItemMessageW(dialog, id, UDM_SETRANGE, 0, MAKELPARAM(high, low));
    SendDlgItemMessageW(dialog, id, UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(position), 0));
}

int UpDownPos(HWND dialog, int id, int fallback) {
    const LRESULT answer = SendDlgItemMessageW(dialog, id, UDM_GETPOS, 0, 0);
    // The high word is non-zero on an error; the low word is the position.
    if (HIWORD(answer) != 0) return fallback;
    return static_cast<short>(LOWORD(answer));
}

std::wstring ItemText(HWND dialog, int id) {
    const HWND item = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthW(item);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(item, text.data(), length + 1)));
    return text;
}

void SetItemText(HWND dialog, int id, const std::wstring& text) { SetDlgItemTextW(dialog, id, text.c_str()); }

// In integers: a floating-point product is kept at extended precision by the x87 unit
// of the 32-bit build, where 96 x (1/96) is a hair under 1 and 322 became 321.
int ScaleLength(int length, int dpi) { return length * dpi / 96; }

int ScaleX(int length) { return ScaleLength(length, ScreenDpi(LOGPIXELSX)); }

int ScaleY(int length) { return ScaleLength(length, ScreenDpi(LOGPIXELSY)); }

void PlaceItems(HWND dialog, std::initializer_list<ItemRect> rects) { PlaceItems(dialog, rects, LANG_NEUTRAL, {}); }

void PlaceItems(HWND dialog, std::initializer_list<ItemRect> rects, WORD language,
                std::initializer_list<ItemRect> local) {
    const bool useLocal = language != LANG_NEUTRAL && ResourceLanguageIs(language);
    for (ItemRect r : rects) {
        if (useLocal)
            for (const ItemRect& l : local)
                if (l.id == r.id) r = l;
        SetWindowPos(GetDlgItem(dialog, r.id), nullptr, ScaleX(r.x), ScaleY(r.y), ScaleX(r.width),
                     ScaleY(r.height), SWP_SHOWWINDOW);
    }
}

void AddListColumn(HWND list, int index, const std::wstring& title, int width) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = ScaleX(width);
    column.pszText = const_cast<wchar_t*>(title.c_str());
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

int AddListRow(HWND list, std::initializer_list<const wchar_t*> texts) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (const wchar_t* text : texts) {
        item.pszText = const_cast<wchar_t*>(text);
        if (item.iSubItem == 0)
            item.iItem = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        else
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item.iItem), reinterpret_cast<LPARAM>(&item));
        ++item.iSubItem;
    }
    return item.iItem;
}

int ListSelection(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectListRow(HWND list, int row) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

Tooltip::~Tooltip() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool Tooltip::Create(HWND tool, const std::wstring& text) {
    // Shown while the sheet is not the active window, too; the control takes its
    // styles when it is created.
    hwnd_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, tool, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return false;
    text_ = text;
    TTTOOLINFOW info = {};
    // The size every version of the tooltip control takes.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text_.data();
    SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

void Tooltip::Relay(const MSG& msg) const {
    if (hwnd_) SendMessageW(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

}  // namespace fw
