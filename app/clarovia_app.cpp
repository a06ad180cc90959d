#include "clarovia_app.h"

#include <commctrl.h>

#include "main_hidden_dlg.h"
#include "program_messages.h"
#include "program_names.h"
#include "resource_language.h"
#include "ui_language.h"

namespace app {

namespace {
constexpr wchar_t kCompany[] = CLAROVIA_WIDE(CLAROVIA_COMPANY);
constexpr wchar_t kInstanceMutex[] = CLAROVIA_WIDE(CLAROVIA_INSTANCE_MUTEX);
constexpr wchar_t kHiddenWindowCaption[] = CLAROVIA_WIDE(CLAROVIA_HIDDEN_WINDOW_CAPTION);
}  // namespace

bool CClaroviaApp::InitInstance() {
    InitCommonControls();
    SetRegistryKey(kCompany);
    // Before any text or window of the program.
    fw::SetResourceLanguage(ChooseLanguage(profile()));

    instanceLock_.reset(CreateMutexW(nullptr, TRUE, kInstanceMutex));
    if (!instanceLock_ || GetLastError() == ERROR_ALREADY_EXISTS) {
        // A copy runs already: it takes this start as a double-click on its tray icon.
        const HWND running = FindWindowW(nullptr, kHiddenWindowCaption);
        SetForegroundWindow(running);
        PostMessageW(running, WM_TRAYNOTIFY, 0, WM_LBUTTONDBLCLK);
        return false;
    }
    mainDialog_ = new CMainHiddenDlg(profile());
    SetMainWindow(mainDialog_);
    // Without its window the program could do nothing but keep the lock from every later
    // start: it ends instead.
    return mainDialog_->Create();
}

int CClaroviaApp::ExitInstance() {
    // Deleting the window object writes the settings back.
    SetMainWindow(nullptr);
    delete mainDialog_;
    mainDialog_ = nullptr;
    return fw::Application::ExitInstance();
}

}  // namespace app
