#include "window_host.h"

#include <commctrl.h>

namespace rig {
namespace {

LogHeader* g_log;
ExtraCommands g_extra;
constexpr UINT kBusyMessage = WM_APP + 77;
constexpr wchar_t kOriginalProc[] = L"RigOriginalProc";

// Noisy messages that no test needs: left out so the log stays readable.
bool Ignored(UINT message) {
    switch (message) {
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_GETICON:
    case WM_GETOBJECT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETMINMAXINFO:
        return true;
    default:
        return false;
    }
}

void Log(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Source source = Source::Window) {
    if (!g_log || Ignored(message)) return;
    // What a WM_COPYDATA carries is told by its dwData (for a tray request, NIM_*).
    if (message == WM_COPYDATA && lParam) lParam = static_cast<LPARAM>(reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData);
    const LONG index = g_log->count;
    if (index >= static_cast<LONG>(kLogCapacity)) return;
    LogEntry& e = g_log->entries[index];
    e.window = reinterpret_cast<uintptr_t>(window);
    e.message = message;
    e.source = static_cast<uint32_t>(source);
    e.wParam = wParam;
    e.lParam = static_cast<uint64_t>(lParam);
    InterlockedExchange(&g_log->count, index + 1);
}

// Messages whose handler is slow (Command::SlowMessage).
struct SlowRule {
    HWND window;  // null: any window
    UINT message;
    int64_t wParam;  // -1: any
    DWORD ms;
    int remaining;
};
SlowRule g_slow[8];

// Messages that carry a pointer into the helper's memory, which the sender may have
// placed there from another process.
bool CarriesPointer(UINT message) {
    switch (message) {
    case WM_SETTEXT:
    case RB_GETBANDINFOA:
    case RB_GETBANDINFOW:
    case RB_SETBANDINFOA:
    case RB_SETBANDINFOW:
    case LVM_GETITEMA:
    case LVM_GETITEMW:
    case LVM_SETITEMA:
    case LVM_SETITEMW:
        return true;
    default:
        return false;
    }
}

// Stays inside the handler when a rule asks for it; false when the message must not be
// handled because the block it points into is gone.
bool StayInside(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    for (SlowRule& rule : g_slow) {
        if (rule.remaining <= 0 || rule.message != message || (rule.window && rule.window != window) ||
            (rule.wParam != -1 && static_cast<WPARAM>(rule.wParam) != wParam))
            continue;
        --rule.remaining;
        Sleep(rule.ms);
        if (CarriesPointer(message) && lParam) {
            MEMORY_BASIC_INFORMATION info = {};
            if (!VirtualQuery(reinterpret_cast<void*>(lParam), &info, sizeof info) || info.State != MEM_COMMIT) {
                Log(window, kBlockFreedEntry, message, lParam);
                return false;
            }
        }
        return true;
    }
    return true;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Log(window, message, wParam, lParam);
    if (!StayInside(window, message, wParam, lParam)) return 0;
    if ((message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK) ||
        (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK))
        Log(window, message, static_cast<USHORT>(GetKeyState(VK_SHIFT)), static_cast<USHORT>(GetKeyState(VK_CONTROL)),
            Source::KeyState);
    if (message == WM_SETREDRAW && wParam == 0 && (GetPropW(window, L"RigFlags") != nullptr)) {
        const auto flags = reinterpret_cast<uintptr_t>(GetPropW(window, L"RigFlags"));
        if (flags & kFleeOnSetRedraw) {
            // Moves away from the rectangle the caller captured, so that a later
            // redraw of that rectangle no longer reaches this window.
            RECT rc;
            GetWindowRect(window, &rc);
            const LRESULT r = DefWindowProcW(window, message, wParam, lParam);
            SetWindowPos(window, nullptr, rc.left + 300, rc.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
            return r;
        }
    }
    if (message == WM_SETREDRAW && wParam != 0 &&
        (reinterpret_cast<uintptr_t>(GetPropW(window, L"RigFlags")) & kFleeOnSetRedraw)) {
        const LRESULT r = DefWindowProcW(window, message, wParam, lParam);
        RedrawWindow(window, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME | RDW_ALLCHILDREN);
        return r;
    }
    if (message == WM_STYLECHANGED && wParam == static_cast<WPARAM>(GWL_EXSTYLE) &&
        (reinterpret_cast<uintptr_t>(GetPropW(window, L"RigFlags")) & kBusyWhenLayered) &&
        (reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew & WS_EX_LAYERED))
        PostMessageW(window, kBusyMessage, 0, 0);
    if (message == kBusyMessage) {
        Sleep(2000);  // the thread takes no message meanwhile
        return 0;
    }
    if (message == WM_NCDESTROY) RemovePropW(window, L"RigFlags");
    return DefWindowProcW(window, message, wParam, lParam);
}

// Records the input messages the thread retrieves (removed from the queue), as they
// are at that moment.
LRESULT CALLBACK RetrievalHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg &&
        ((msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST && msg->message != WM_MOUSEMOVE) ||
         (msg->message >= WM_NCLBUTTONDOWN && msg->message <= WM_NCMBUTTONDBLCLK) ||
         (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)))
        Log(msg->hwnd, msg->message, msg->wParam, msg->lParam, Source::Hook);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK LoggedControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Log(window, message, wParam, lParam);
    if (!StayInside(window, message, wParam, lParam)) return 0;
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(window, kOriginalProc));
    if (message == WM_NCDESTROY) RemovePropW(window, kOriginalProc);
    return original ? CallWindowProcW(original, window, message, wParam, lParam)
                    : DefWindowProcW(window, message, wParam, lParam);
}

BOOL CALLBACK FlushOne(HWND window, LPARAM) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASENOW);
    return TRUE;
}

LRESULT OnCommand(Command command, const HostCommand* cmd) {
    switch (command) {
    case Command::CreateWindow:
        return reinterpret_cast<LRESULT>(HostCreateWindow(*cmd));
    case Command::DestroyWindow:
        return DestroyWindow(reinterpret_cast<HWND>(static_cast<uintptr_t>(cmd->window)));
    case Command::Flush:
        EnumThreadWindows(GetCurrentThreadId(), FlushOne, 0);
        return 1;
    case Command::ClearLog:
        if (g_log) InterlockedExchange(&g_log->count, 0);
        return 1;
    case Command::Quit:
        PostQuitMessage(0);
        return 1;
    case Command::SetText:
        return SetWindowTextW(reinterpret_cast<HWND>(static_cast<uintptr_t>(cmd->window)), cmd->text);
    case Command::Busy:
        // Answered at once; the thread is busy once it takes this from its queue.
        return PostThreadMessageW(GetCurrentThreadId(), kBusyMessage, static_cast<WPARAM>(cmd->width), 0);
    case Command::SlowMessage:
        if (!cmd->style) {  // no message: every rule is dropped
            for (SlowRule& rule : g_slow) rule.remaining = 0;
            return 1;
        }
        for (SlowRule& rule : g_slow)
            if (rule.remaining <= 0) {
                rule = {reinterpret_cast<HWND>(static_cast<uintptr_t>(cmd->window)), cmd->style, cmd->x,
                        static_cast<DWORD>(cmd->width), cmd->height > 0 ? cmd->height : 1};
                return 1;
            }
        return 0;
    default:
        return g_extra ? g_extra(command, *cmd) : 0;
    }
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (cds->cbData < sizeof(HostCommand)) return 0;
        HostCommand cmd;
        CopyMemory(&cmd, cds->lpData, sizeof cmd);
        return OnCommand(static_cast<Command>(cds->dwData), &cmd);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND HostCreateWindow(const HostCommand& cmd) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, cmd.className, &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = HostWindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = cmd.className;
        RegisterClassExW(&wc);
    }
    const HWND parent = (cmd.flags & kChild) ? reinterpret_cast<HWND>(static_cast<uintptr_t>(cmd.window)) : nullptr;
    const HWND window = CreateWindowExW(cmd.exStyle, cmd.className, cmd.text, cmd.style, cmd.x, cmd.y, cmd.width,
                                        cmd.height, parent, nullptr, instance, nullptr);
    if (window && cmd.flags) SetPropW(window, L"RigFlags", reinterpret_cast<HANDLE>(static_cast<uintptr_t>(cmd.flags)));
    if (window && (cmd.flags & kLogControl)) LogControl(window);
    if (window && (cmd.style & WS_VISIBLE)) UpdateWindow(window);
    return window;
}

void LogControl(HWND control) {
    if (GetPropW(control, kOriginalProc)) return;
    SetPropW(control, kOriginalProc, reinterpret_cast<HANDLE>(GetWindowLongPtrW(control, GWLP_WNDPROC)));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggedControlProc));
}

int RunWindowHost(void (*setup)(), ExtraCommands extra) {
    g_extra = extra;
    wchar_t name[64];
    LogName(GetCurrentProcessId(), name, 64);
    const HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LogHeader), name);
    if (mapping) g_log = static_cast<LogHeader*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = instance;
    wc.lpszClassName = kControlClass;
    RegisterClassExW(&wc);
    const HHOOK retrieval = SetWindowsHookExW(WH_GETMESSAGE, RetrievalHook, nullptr, GetCurrentThreadId());
    if (setup) setup();
    // Created last: a test that finds the control window may use everything else.
    CreateWindowExW(0, kControlClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!msg.hwnd && msg.message == kBusyMessage) {
            Sleep(static_cast<DWORD>(msg.wParam));
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (retrieval) UnhookWindowsHookEx(retrieval);
    if (g_log) UnmapViewOfFile(g_log);
    if (mapping) CloseHandle(mapping);
    return 0;
}

}  // namespace rig
