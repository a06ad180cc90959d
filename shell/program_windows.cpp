#include "program_windows.h"

#include "process_name.h"
#include "shell_names.h"
#include "window_util.h"

namespace shell {

namespace {
// The shell's own top-level windows, besides the taskbar and the two start menus.
constexpr const wchar_t* kShellClasses[] = {kTaskbarClass, kXpStartMenuClass, kClassicStartMenuClass,
                                           L"Shell_SecondaryTrayWnd", L"Progman", L"WorkerW"};

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    if (!IsWindowVisible(window)) return TRUE;
    std::wstring className = fw::ClassName(window);
    if (!IsRuleWindow(window, className)) return TRUE;
    std::wstring program = fw::ProcessFileName(fw::ProcessOf(window));
    if (program.empty()) return TRUE;
    reinterpret_cast<std::vector<ProgramWindow>*>(list)->push_back(
        {window, std::move(program), fw::WindowText(window), std::move(className)});
    return TRUE;
}
}  // namespace

bool IsRuleWindow(HWND window, const std::wstring& className) {
    if (className.empty()) return false;  // gone
    if (!(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION)) return false;
    if (GetWindow(window, GW_OWNER)) return false;
    const DWORD processId = fw::ProcessOf(window);
    if (!processId || processId == GetCurrentProcessId()) return false;
    for (const wchar_t* shellClass : kShellClasses)
        if (className == shellClass) return false;
    return true;
}

std::vector<ProgramWindow> OpenProgramWindows() {
    std::vector<ProgramWindow> list;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

}  // namespace shell
