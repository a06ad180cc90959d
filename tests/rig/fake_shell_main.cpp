// The fake shell: windows that the Windows shell would own and Wine's does not
// provide, built with the real common controls in a process of their own, so that the
// program meets them as it meets the shell's: a desktop with its icon list view, folder
// windows with their rebar bands, a taskbar with a start button. Tests also create
// single shell windows here ("Shell_TrayWnd", "DV2ControlHost", "BaseBar", ...). What
// the controls receive is logged; their true state is read back here, in their own
// process.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "window_host.h"

namespace {

using rig::Command;
using rig::HostCommand;

HWND Make(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int w, int h,
          HWND parent = nullptr, uint32_t flags = 0) {
    HostCommand cmd = {};
    lstrcpynW(cmd.className, className, 64);
    lstrcpynW(cmd.text, text, 300);
    cmd.style = style;
    cmd.x = x;
    cmd.y = y;
    cmd.width = w;
    cmd.height = h;
    cmd.flags = flags | (parent ? static_cast<uint32_t>(rig::kChild) : 0u);
    cmd.window = reinterpret_cast<uintptr_t>(parent);
    return rig::HostCreateWindow(cmd);
}

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

// "SHELLDLL_DefView" > "SysListView32" inside `host`, with a few icons.
HWND MakeDesktopView(HWND host, const HostCommand& cmd) {
    RECT rc;
    GetClientRect(host, &rc);
    const HWND view = Make(L"SHELLDLL_DefView", L"", kChildStyle, 0, 0, rc.right, rc.bottom, host);
    const HWND list = Make(WC_LISTVIEWW, L"FolderView", kChildStyle | LVS_ICON, 0, 0, rc.right, rc.bottom, view,
                           rig::kLogControl);
    static const wchar_t* const kIcons[] = {L"ごみ箱", L"マイ コンピュータ", L"Documents"};
    for (int i = 0; i < 3; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(kIcons[i]);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(list, LVM_SETTEXTCOLOR, 0, cmd.colors[0]);
    SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, cmd.colors[1]);
    return list;
}

// The desktop: "Progman" titled "Program Manager" holding the view, or (Windows 7 with a
// slideshow wallpaper) a "Progman" without one and the view in a top-level "WorkerW"
// behind an empty one. Small and at the bottom of the z-order, out of the tests' way.
LRESULT CreateDesktop(const HostCommand& cmd) {
    const DWORD style = WS_POPUP | WS_VISIBLE;
    const HWND progman = Make(L"Progman", L"Program Manager", style, 724, 420, 300, 200);
    HWND host = progman;
    if (cmd.flags & rig::kDesktopInWorkerW) {
        const HWND empty = Make(L"WorkerW", L"", style, 724, 420, 300, 200);
        host = Make(L"WorkerW", L"", style, 724, 420, 300, 200);
        SetWindowPos(empty, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    const HWND list = MakeDesktopView(host, cmd);
    SetWindowPos(host, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (host != progman) SetWindowPos(progman, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return reinterpret_cast<LRESULT>(list);
}

void AddBand(HWND rebar, HWND child, int cx) {
    REBARBANDINFOW band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE;
    band.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
    band.hwndChild = child;
    band.cxMinChild = 40;
    band.cyMinChild = 22;
    band.cx = cx;
    SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

HWND MakeToolbar(HWND rebar, DWORD extendedStyle) {
    const HWND toolbar = Make(TOOLBARCLASSNAMEW, L"", kChildStyle | TBSTYLE_FLAT | CCS_NORESIZE | CCS_NODIVIDER |
                                                           CCS_NOPARENTALIGN, 0, 0, 200, 22, rebar, rig::kLogControl);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (extendedStyle) SendMessageW(toolbar, TB_SETEXTENDEDSTYLE, 0, extendedStyle);
    return toolbar;
}

// While set, a lying rebar tells the truth (to the fake shell's own read-back).
bool g_truth;

// A rebar that tells others it has 0x7FFFFFFF bands.
LRESULT CALLBACK LyingRebarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == RB_GETBANDCOUNT && !g_truth) return 0x7FFFFFFF;
    return DefSubclassProc(window, message, wParam, lParam);
}

// Builds the inside of a folder window while the frame is being created, so that it is
// complete by the time the shell hook reports the new window.
void BuildFolderWindow(HWND frame, uint32_t flags) {
    RECT rc;
    GetClientRect(frame, &rc);
    if (flags & rig::kFolderNoWorker) {
        Make(L"Static", L"", kChildStyle, 0, 0, rc.right, 30, frame);
        return;
    }
    const HWND worker = Make(L"WorkerW", L"", kChildStyle, 0, 0, rc.right, 60, frame);
    if (flags & rig::kFolderNoRebar) {
        Make(L"Static", L"", kChildStyle, 0, 0, rc.right, 30, worker);
        return;
    }
    const HWND rebar = Make(REBARCLASSNAMEW, L"", kChildStyle | CCS_NODIVIDER | RBS_VARHEIGHT | RBS_BANDBORDERS, 0, 0,
                            rc.right, 60, worker, rig::kLogControl);
    if (flags & rig::kRebarCountLies) SetWindowSubclass(rebar, LyingRebarProc, 1, 0);
    AddBand(rebar, Make(L"WorkerW", L"", kChildStyle, 0, 0, 40, 22, rebar), 60);        // the Windows logo
    AddBand(rebar, MakeToolbar(rebar, 0), 200);                                          // the menu
    AddBand(rebar, MakeToolbar(rebar, TBSTYLE_EX_DRAWDDARROWS), 200);                    // back, views...
    AddBand(rebar, Make(L"Edit", L"C:\\", kChildStyle | WS_BORDER, 0, 0, 200, 22, rebar), 300);  // the address
}

LRESULT CALLBACK FolderFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr UINT_PTR kBuildTimer = 1;
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const auto flags = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(create->lpCreateParams));
        if (flags & rig::kFolderBandsLater) {
            // Shown (and reported) first, built afterwards: Wine's own order for a window
            // created visible, and a folder whose toolbars are switched on later.
            SetPropW(window, L"RigFolderFlags", reinterpret_cast<HANDLE>(static_cast<uintptr_t>(flags)));
            SetTimer(window, kBuildTimer, 300, nullptr);
        } else {
            BuildFolderWindow(window, flags);
        }
    }
    if (message == WM_TIMER && wParam == kBuildTimer) {
        KillTimer(window, kBuildTimer);
        BuildFolderWindow(window, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetPropW(window, L"RigFolderFlags"))));
        return 0;
    }
    if (message == WM_NCDESTROY) RemovePropW(window, L"RigFolderFlags");
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CreateFolderWindow(const HostCommand& cmd) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // One frame class per name; the rig's own window procedure stays with other classes.
    const std::wstring frameClass = std::wstring(cmd.className);
    WNDCLASSW wc = {};
    if (!GetClassInfoW(instance, frameClass.c_str(), &wc)) {
        wc.lpfnWndProc = FolderFrameProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = frameClass.c_str();
        RegisterClassW(&wc);
    }
    return reinterpret_cast<LRESULT>(CreateWindowExW(
        0, frameClass.c_str(), L"Folder", WS_OVERLAPPEDWINDOW | WS_VISIBLE, cmd.x, cmd.y, cmd.width, cmd.height,
        nullptr, nullptr, instance, reinterpret_cast<void*>(static_cast<uintptr_t>(cmd.flags))));
}

// A taskbar whose first child is the start button.
LRESULT CreateTaskbar(const HostCommand& cmd) {
    const HWND taskbar = Make(L"Shell_TrayWnd", L"", WS_POPUP | WS_VISIBLE, cmd.x, cmd.y, cmd.width, cmd.height);
    Make(L"Button", cmd.text, kChildStyle | BS_PUSHBUTTON, 2, 2, 80, cmd.height - 4, taskbar, rig::kLogControl);
    return reinterpret_cast<LRESULT>(taskbar);
}

LRESULT ListColor(HWND list, bool back) {
    return static_cast<LRESULT>(
        static_cast<uint32_t>(SendMessageW(list, back ? LVM_GETTEXTBKCOLOR : LVM_GETTEXTCOLOR, 0, 0)));
}

LRESULT BandStates(HWND rebar) {
    g_truth = true;
    const auto count = static_cast<int>(SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0));
    g_truth = false;
    LRESULT hidden = 0;
    for (int i = 0; i < count; ++i) {
        REBARBANDINFOW band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE;
        if (SendMessageW(rebar, RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&band)) && (band.fStyle & RBBS_HIDDEN))
            hidden |= LRESULT{1} << i;
    }
    return hidden;
}

LRESULT ShellCommand(Command command, const HostCommand& cmd) {
    const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(cmd.window));
    switch (command) {
    case Command::CreateDesktop:
        return CreateDesktop(cmd);
    case Command::CreateFolderWindow:
        return CreateFolderWindow(cmd);
    case Command::CreateTaskbar:
        return CreateTaskbar(cmd);
    case Command::ListColor:
        return ListColor(window, cmd.flags != 0);
    case Command::BandStates:
        return BandStates(window);
    default:
        return 0;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    return rig::RunWindowHost(nullptr, ShellCommand);
}
