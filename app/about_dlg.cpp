#include "about_dlg.h"

#include <windows.h>

#include <vector>

#include "dialog.h"
#include "library.h"
#include "resource.h"

namespace app {

CAboutDlg::CAboutDlg(UINT problem) : fw::Dialog(IDD_ABOUTBOX, nullptr), problem_(problem) {}

// A line of its own under the box's controls, which grows to hold it: the template
// stays as it has always been.
void CAboutDlg::ShowProblem() {
    const std::wstring text = fw::ResourceString(problem_);
    if (text.empty()) return;
    RECT line = {5, 63, 162, 87}, grow = {0, 0, 0, 28};
    MapDialogRect(hwnd(), &line);
    MapDialogRect(hwnd(), &grow);
    const HWND label = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                       line.left, line.top, line.right - line.left, line.bottom - line.top, hwnd(),
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_COMPANION_PROBLEM)),
                                       GetModuleHandleW(nullptr), nullptr);
    if (!label) return;
    SendMessageW(label, WM_SETFONT, SendMessageW(hwnd(), WM_GETFONT, 0, 0), FALSE);
    RECT rc = {};
    GetWindowRect(hwnd(), &rc);
    SetWindowPos(hwnd(), nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top + grow.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CAboutDlg::OnInitDialog() {
    const std::wstring version = ReadFileVersionString(fw::ProgramFolder() + L"vitrel.dll", L"FileVersion");
    SetDlgItemTextW(hwnd(), IDC_LIBRARY_VERSION, (L"vitrel.dll v" + version).c_str());
    if (problem_) ShowProblem();
    // Its owner is never shown: centre the box on the work area.
    RECT work = {}, rc = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(hwnd(), &rc);
    SetWindowPos(hwnd(), nullptr, work.left + (work.right - work.left - (rc.right - rc.left)) / 2,
                 work.top + (work.bottom - work.top - (rc.bottom - rc.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

INT_PTR CAboutDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(LOWORD(wParam));
            return Handled(0);
        }
        return Default();
    default:
        return fw::Dialog::WindowProc(message, wParam, lParam);
    }
}

std::wstring ReadFileVersionString(const std::wstring& file, const wchar_t* valueName) {
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), nullptr);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return {};

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                        &length) ||
        length < sizeof(Translation))
        return {};
    wchar_t path[128];
    // The value names are ours and short: the path fits.
    wsprintfW(path, L"\\StringFileInfo\\%04X%04X\\%s", translations[0].language, translations[0].codePage,
              valueName);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&text), &length) || !text) return {};
    return std::wstring(text, wcsnlen(text, length));
}

}  // namespace app
