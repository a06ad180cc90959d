// rig_probe.dll: the hook procedures of the program probe (see program_probe.h). They
// run inside the hooked thread and only ever write the shared record.
#include <windows.h>

#include "program_probe.h"

namespace {

__attribute__((section(".rigprb"), shared, used, aligned(8)))
rig::ProbeRecord g_record = {rig::kProbeMagic, 0, {}, 0, 0, {}};

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
    if (code == HC_ACTION) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        Record(cwp->hwnd, cwp->message, cwp->wParam, cwp->lParam, false);
        if (cwp->message == WM_INITMENUPOPUP) ReadMenu(reinterpret_cast<HMENU>(cwp->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

__declspec(dllexport) LRESULT CALLBACK ProbeGetMessageProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        Record(msg->hwnd, msg->message, msg->wParam, msg->lParam, true);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

__declspec(dllexport) rig::ProbeRecord* ProbeRecordAddress() { return &g_record; }

}  // extern "C"
