#include "application.h"

#include "dialog.h"

namespace fw {

namespace {
Application* g_current = nullptr;

std::wstring ModuleBaseName(HINSTANCE instance) {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(instance, path, MAX_PATH);
    std::wstring name(path, n < MAX_PATH ? n : 0);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}
}  // namespace

Application::Application() { g_current = this; }

Application::~Application() {
    if (g_current == this) g_current = nullptr;
}

Application* Application::Current() { return g_current; }

void Application::SetRegistryKey(const wchar_t* company) { profile_.Open(company, name_.c_str()); }

HWND Application::mainWindow() const { return mainWindow_ ? mainWindow_->hwnd() : nullptr; }

void Application::OnWindowDestroyed(Dialog* window) {
    if (window && window == mainWindow_) {
        mainWindow_ = nullptr;
        PostQuitMessage(0);
    }
}

bool Application::PreTranslate(MSG& msg) {
    // Modeless dialogs of this thread get their keyboard navigation.
    for (HWND w = msg.hwnd; w; w = GetParent(w)) {
        wchar_t cls[8];
        if (GetClassNameW(w, cls, 8) && lstrcmpW(cls, L"#32770") == 0) return IsDialogMessageW(w, &msg) != FALSE;
        if (!(GetWindowLongW(w, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

int Application::RunLoop() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            exitCode_ = static_cast<int>(msg.wParam);
            return exitCode_;
        }
        if (got < 0) return exitCode_ = -1;
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int Application::Main(HINSTANCE instance) {
    instance_ = instance;
    name_ = ModuleBaseName(instance);
    if (InitInstance()) RunLoop();
    return ExitInstance();
}

}  // namespace fw
