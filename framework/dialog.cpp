#include "dialog.h"

#include "application.h"
#include "resource_language.h"

namespace fw {

Dialog::Dialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

Dialog::~Dialog() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

bool Dialog::Create() {
    Application* app = Application::Current();
    const HINSTANCE instance = app ? app->instance() : GetModuleHandleW(nullptr);
    const DLGTEMPLATE* dialog = DialogTemplate(instance, templateId_);
    return dialog && CreateDialogIndirectParamW(instance, dialog, parent_, DialogProc,
                                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR Dialog::DoModal() {
    Application* app = Application::Current();
    const HINSTANCE instance = app ? app->instance() : GetModuleHandleW(nullptr);
    HWND owner = parent_ ? parent_ : (app ? app->mainWindow() : nullptr);
    const DLGTEMPLATE* dialog = DialogTemplate(instance, templateId_);
    if (!dialog) return -1;
    return DialogBoxIndirectParamW(instance, dialog, owner, DialogProc, reinterpret_cast<LPARAM>(this));
}

bool Dialog::Destroy() { return hwnd_ && DestroyWindow(hwnd_); }

INT_PTR Dialog::WindowProc(UINT, WPARAM, LPARAM) { return Default(); }

INT_PTR Dialog::Handled(LRESULT result) {
    SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DialogProcFor(hwnd, message, wParam, lParam);
}

INT_PTR Dialog::DialogProcFor(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        if (Application* app = Application::Current()) app->OnWindowDestroyed(self);
        self->PostNcDestroy();
        return FALSE;
    }
    return self->WindowProc(message, wParam, lParam);
}

int ShowMessageBox(const wchar_t* text, UINT flags) {
    Application* app = Application::Current();
    return MessageBoxW(app ? app->mainWindow() : nullptr, text, app ? app->name().c_str() : L"", flags);
}

std::wstring ResourceString(UINT id) {
    Application* app = Application::Current();
    return LoadResourceString(app ? app->instance() : GetModuleHandleW(nullptr), id);
}

}  // namespace fw
