// A control of a dialog with a window procedure of its own: the object subclasses the
// control window and sees its messages first; Default() gives them to the control's
// own procedure. The object lets go of the window when either ends.
#pragma once

#include <windows.h>

namespace fw {

class Control {
public:
    Control() = default;
    virtual ~Control() { Detach(); }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Takes over control `id` of `dialog`; false if there is no such control.
    bool Attach(HWND dialog, int id);
    void Detach();
    HWND hwnd() const { return hwnd_; }

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
        return Default(message, wParam, lParam);
    }
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return CallWindowProcW(original_, hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
};

}  // namespace fw
