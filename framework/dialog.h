// A dialog made from a template, modeless or modal. A derived class overrides the
// window procedure (one switch that ends in Default()), the initialisation and the
// step after the window's final destruction. `this` is stored once, at WM_INITDIALOG.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class Dialog {
public:
    Dialog(UINT templateId, HWND parent);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog modeless; returns false if the window could not be made.
    bool Create();
    // Runs the dialog modally; without a parent the application's main window owns it.
    INT_PTR DoModal();

    HWND hwnd() const { return hwnd_; }
    UINT templateId() const { return templateId_; }
    bool Destroy();

protected:
    // WM_INITDIALOG; return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Every message but WM_INITDIALOG. Return Handled(result) for a message handled
    // here, Default() to leave it to the dialog manager.
    virtual INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY: the window is gone; the object may still be used.
    virtual void PostNcDestroy() {}

    INT_PTR Handled(LRESULT result);
    static INT_PTR Default() { return FALSE; }
    void EndDialog(INT_PTR result) { ::EndDialog(hwnd_, result); }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // The procedure every framework dialog runs; lParam of WM_INITDIALOG is the object.
    static INT_PTR DialogProcFor(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    HWND hwnd_ = nullptr;
};

// A message box owned by the application's main window, captioned with its name.
int ShowMessageBox(const wchar_t* text, UINT flags = MB_OK);

// A string resource of the program in the resources' language ("" if missing).
std::wstring ResourceString(UINT id);

}  // namespace fw
