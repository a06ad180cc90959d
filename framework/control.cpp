#include "control.h"

namespace fw {

namespace {
constexpr wchar_t kControlObject[] = L"fw.Control";
}

bool Control::Attach(HWND dialog, int id) {
    Detach();
    const HWND control = GetDlgItem(dialog, id);
    if (!control) return false;
    hwnd_ = control;
    SetPropW(control, kControlObject, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::ControlProc)));
    return true;
}

void Control::Detach() {
    if (!hwnd_) return;
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropW(hwnd_, kControlObject);
    }
    hwnd_ = nullptr;
    original_ = nullptr;
}

LRESULT CALLBACK Control::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Control*>(GetPropW(hwnd, kControlObject));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const WNDPROC original = self->original_;
        self->Detach();
        return CallWindowProcW(original, hwnd, message, wParam, lParam);
    }
    return self->WindowProc(message, wParam, lParam);
}

}  // namespace fw
