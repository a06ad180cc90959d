// rig_probe.dll: the hook procedures of the program probe (see program_probe.h). They
// run inside the hooked thread and only ever write the shared record.
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
#include <prsht.h>

#include "import_spy.h"
#include "program_probe.h"

namespace {

__attribute__((section(".rigprb"), shared, used, aligned(8)))
rig::ProbeRecord g_record = {};

// The replaced imports of the program's executable; never put back (they point into
// this DLL, which is pinned in the program once they are in place).
rig::ImportSpy* g_appBar;
rig::ImportSpy* g_redraw;
rig::ImportSpy* g_propertySheet;

using AppBarFn = UINT_PTR(WINAPI*)(DWORD, PAPPBARDATA);
using RedrawFn = BOOL(WINAPI*)(HWND, const RECT*, HRGN, UINT);
using PropertySheetFn = INT_PTR(WINAPI*)(LPCPROPSHEETHEADERW);

UINT_PTR WINAPI SteeredAppBarMessage(DWORD message, PAPPBARDATA data) {
    InterlockedIncrement(&g_record.appBarQueries);
    switch (message) {
    case ABM_GETTASKBARPOS:
        if (!data) return FALSE;
        data->uEdge = g_record.appBarEdge;
        data->rc = RECT{g_record.appBarLeft, g_record.appBarTop, g_record.appBarRight, g_record.appBarBottom};
        return TRUE;
    case ABM_GETSTATE:
        return g_record.appBarState;
    default:
        return reinterpret_cast<AppBarFn>(g_appBar->original())(message, data);
    }
}

BOOL WINAPI RecordedRedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags) {
    const LONG index = g_record.redrawCount;
    if (index < static_cast<LONG>(rig::kProbeRedrawCapacity)) {
        rig::ProbeRedraw& r = g_record.redraws[index];
        r.window = reinterpret_cast<uintptr_t>(window);
        r.hasRect = rect != nullptr;
        r.left = rect ? rect->left : 0;
        r.top = rect ? rect->top : 0;
        r.right = rect ? rect->right : 0;
        r.bottom = rect ? rect->bottom : 0;
        r.flags = flags;
        InterlockedExchange(&g_record.redrawCount, index + 1);
    }
    return reinterpret_cast<RedrawFn>(g_redraw->original())(window, rect, region, flags);
}

INT_PTR WINAPI RecordedPropertySheetW(LPCPROPSHEETHEADERW header) {
    if (header) {
        g_record.sheetHeaderSize = header->dwSize;
        const UINT pages = (header->dwFlags & PSH_PROPSHEETPAGE) ? header->nPages : 0;
        g_record.sheetPageCount = pages < rig::kProbeSheetPageCapacity ? pages : rig::kProbeSheetPageCapacity;
        const auto* page = reinterpret_cast<const BYTE*>(header->ppsp);
        for (UINT i = 0; i < g_record.sheetPageCount; ++i) {
            const DWORD size = reinterpret_cast<const PROPSHEETPAGEW*>(page)->dwSize;
            g_record.sheetPageSizes[i] = size;
            page += size;
        }
        InterlockedIncrement(&g_record.sheetRuns);
    }
    return reinterpret_cast<PropertySheetFn>(g_propertySheet->original())(header);
}

// Runs in the program's thread: puts in place what the test asked for.
void InstallPatches() {
    const LONG wanted = g_record.patchRequest & ~g_record.patchDone;
    if (!wanted) return;
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&InstallPatches), &self);
    const HMODULE program = GetModuleHandleW(nullptr);
    LONG done = 0;
    if (wanted & rig::kPatchAppBar) {
        if (!g_appBar)
            g_appBar = new rig::ImportSpy(program, "shell32.dll", "SHAppBarMessage",
                                          reinterpret_cast<void*>(SteeredAppBarMessage));
        if (g_appBar->ok()) done |= rig::kPatchAppBar;
    }
    if (wanted & rig::kPatchRedraw) {
        if (!g_redraw)
            g_redraw = new rig::ImportSpy(program, "user32.dll", "RedrawWindow",
                                          reinterpret_cast<void*>(RecordedRedrawWindow));
        if (g_redraw->ok()) done |= rig::kPatchRedraw;
    }
    if (wanted & rig::kPatchPropertySheet) {
        if (!g_propertySheet)
            g_propertySheet = new rig::ImportSpy(program, "comctl32.dll", "PropertySheetW",
                                                 reinterpret_cast<void*>(RecordedPropertySheetW));
        if (g_propertySheet->ok()) done |= rig::kPatchPropertySheet;
    }
    InterlockedOr(&g_record.patchDone, done);
}

// The room the text of `control` needs in its own font.
SIZE NeededRoom(HWND control, const wchar_t* className, DWORD style, const wchar_t* text) {
    SIZE need = {};
    const bool button = lstrcmpiW(className, L"Button") == 0;
    const UINT type = style & BS_TYPEMASK;
    if (button && type != BS_GROUPBOX && SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&need)))
        return need;
    const HDC dc = GetDC(control);
    if (!dc) return need;
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    // A static's text wraps at blanks as the control draws it: measured at its width,
    // a word too long for it comes out wider, lines too many for it taller.
    RECT client = {};
    GetClientRect(control, &client);
    RECT rc = {0, 0, button ? 0 : client.right, 0};
    UINT flags = DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK | DT_EXPANDTABS);
    if (!button && (style & SS_NOPREFIX)) flags |= DT_NOPREFIX;
    DrawTextW(dc, text, -1, &rc, flags);
    need = SIZE{rc.right - rc.left, rc.bottom - rc.top};
    if (button) {
        // A group box's text sits indented on its frame, a blank's width either side.
        SIZE blank = {};
        GetTextExtentPoint32W(dc, L"0", 1, &blank);
        need.cx += 2 * blank.cx;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return need;
}

// The column headers of a list view, each as a control of class "Header" with the
// column's index for its id: a header draws its text between margins of three edges.
void MeasureColumns(HWND list, HWND parent) {
    const HWND header = ListView_GetHeader(list);
    const int count = header ? Header_GetItemCount(header) : 0;
    const HDC dc = count > 0 ? GetDC(header) : nullptr;
    if (!dc) return;
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
    for (int i = 0; i < count && g_record.controlCount < rig::kProbeControlCapacity; ++i) {
        rig::ProbeControl& c = g_record.controls[g_record.controlCount];
        c = rig::ProbeControl{};
        c.id = i;
        c.visible = 1;
        lstrcpyW(c.className, L"Header");
        HDITEMW item = {};
        item.mask = HDI_TEXT;
        item.pszText = c.text;
        item.cchTextMax = rig::kProbeTextSize * 2;
        RECT rc = {};
        if (!Header_GetItem(header, i, &item) || !Header_GetItemRect(header, i, &rc)) continue;
        MapWindowPoints(header, parent, reinterpret_cast<POINT*>(&rc), 2);
        c.left = rc.left;
        c.top = rc.top;
        c.right = rc.right;
        c.bottom = rc.bottom;
        SIZE text = {};
        GetTextExtentPoint32W(dc, c.text, lstrlenW(c.text), &text);
        c.needWidth = text.cx + 6 * GetSystemMetrics(SM_CXEDGE);
        c.needHeight = text.cy;
        ++g_record.controlCount;
    }
    SelectObject(dc, old);
    ReleaseDC(header, dc);
}

BOOL CALLBACK MeasureChild(HWND child, LPARAM parent) {
    if (GetParent(child) != reinterpret_cast<HWND>(parent)) return TRUE;
    if (g_record.controlCount >= rig::kProbeControlCapacity) return FALSE;
    rig::ProbeControl& c = g_record.controls[g_record.controlCount];
    c = rig::ProbeControl{};
    c.id = GetDlgCtrlID(child);
    c.style = static_cast<uint32_t>(GetWindowLongW(child, GWL_STYLE));
    c.visible = IsWindowVisible(child) ? 1 : 0;
    GetClassNameW(child, c.className, 16);
    GetWindowTextW(child, c.text, rig::kProbeTextSize * 2);
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, reinterpret_cast<HWND>(parent), reinterpret_cast<POINT*>(&rc), 2);
    c.left = rc.left;
    c.top = rc.top;
    c.right = rc.right;
    c.bottom = rc.bottom;
    const SIZE need = NeededRoom(child, c.className, c.style, c.text);
    c.needWidth = need.cx;
    c.needHeight = need.cy;
    ++g_record.controlCount;
    if (lstrcmpiW(c.className, WC_LISTVIEWW) == 0) MeasureColumns(child, reinterpret_cast<HWND>(parent));
    return TRUE;
}

// Runs in the program's thread: measures the controls of the window asked for.
void Measure() {
    const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(g_record.measureWindow));
    g_record.controlCount = 0;
    RECT client = {};
    GetClientRect(window, &client);
    g_record.clientWidth = client.right;
    g_record.clientHeight = client.bottom;
    if (IsWindow(window)) EnumChildWindows(window, MeasureChild, reinterpret_cast<LPARAM>(window));
    InterlockedIncrement(&g_record.measured);
}

bool Wanted(UINT message) {
    switch (message) {
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_INITMENUPOPUP:
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
    case WM_COPYDATA:
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_SETICON:
    case WM_CREATE:
    case WM_SYSCOLORCHANGE:
        return true;
    default:
        return message >= WM_USER && message < 0xC000;
    }
}

void Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted) {
    if (!Wanted(message)) return;
    // One thread is hooked: it is the only writer.
    const LONG index = g_record.messageCount;
    if (index >= static_cast<LONG>(rig::kProbeMessageCapacity)) return;
    rig::ProbeMessage& m = g_record.messages[index];
    m.window = reinterpret_cast<uintptr_t>(window);
    m.message = message;
    m.posted = posted ? 1 : 0;
    m.wParam = wParam;
    m.lParam = static_cast<uint64_t>(lParam);
    InterlockedExchange(&g_record.messageCount, index + 1);
}

void ReadMenu(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    UINT n = 0;
    for (int i = 0; i < count && n < rig::kProbeMenuCapacity; ++i, ++n) {
        rig::ProbeMenuItem& item = g_record.menu[n];
        item.text[0] = 0;
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = item.text;
        info.cch = rig::kProbeTextSize;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
            item.id = 0xFFFFFFFF;
            continue;
        }
        item.id = info.wID;
        item.state = info.fState;
        item.type = info.fType;
    }
    g_record.menuCount = n;
    InterlockedIncrement(&g_record.menuSerial);
}

}  // namespace

extern "C" {

__declspec(dllexport) LRESULT CALLBACK ProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (g_record.patchRequest != g_record.patchDone) InstallPatches();
    if (code == HC_ACTION) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        // A window's creation is recorded with the style it was created with.
        LPARAM recorded = cwp->lParam;
        if (cwp->message == WM_CREATE && cwp->lParam)
            recorded = static_cast<LPARAM>(reinterpret_cast<const CREATESTRUCTW*>(cwp->lParam)->style);
        Record(cwp->hwnd, cwp->message, cwp->wParam, recorded, false);
        if (cwp->message == WM_INITMENUPOPUP) ReadMenu(reinterpret_cast<HMENU>(cwp->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

__declspec(dllexport) LRESULT CALLBACK ProbeGetMessageProc(int code, WPARAM wParam, LPARAM lParam) {
    if (g_record.patchRequest != g_record.patchDone) InstallPatches();
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        Record(msg->hwnd, msg->message, msg->wParam, msg->lParam, true);
        if (msg->message == rig::kProbeSettleMessage) InterlockedIncrement(&g_record.settled);
        if (msg->message == rig::kProbeSettleMessage && msg->wParam == rig::kProbeMeasure) Measure();
        if (msg->message == g_record.countedMessage && msg->message) InterlockedIncrement(&g_record.counted);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

__declspec(dllexport) rig::ProbeRecord* ProbeRecordAddress() { return &g_record; }

}  // extern "C"
