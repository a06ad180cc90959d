// A modal property sheet of dialog pages. Each page is a Dialog whose PSN_*
// notifications arrive as virtual methods; their results go back to the sheet
// through DWLP_MSGRESULT (PSNRET_NOERROR, PSNRET_INVALID, ...).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "dialog.h"

namespace fw {

class PropertyPage : public Dialog {
public:
    explicit PropertyPage(UINT templateId) : Dialog(templateId, nullptr) {}

protected:
    friend class PropertySheetDialog;
    // PSN_SETACTIVE: return 0 to accept the activation.
    virtual LRESULT OnSetActive() { return 0; }
    // PSN_KILLACTIVE: return FALSE to let the page be left.
    virtual LRESULT OnKillActive() { return FALSE; }
    // PSN_APPLY: return PSNRET_NOERROR, or PSNRET_INVALID to stay.
    virtual LRESULT OnApply() { return PSNRET_NOERROR; }
    virtual void OnReset() {}
    // Enables the sheet's Apply button.
    void SetModified() { PropSheet_Changed(GetParent(hwnd()), hwnd()); }

    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    PROPSHEETPAGEW Describe(HINSTANCE instance);
};

class PropertySheetDialog {
public:
    PropertySheetDialog(const std::wstring& caption, HWND parent, UINT startPage);
    virtual ~PropertySheetDialog() = default;
    PropertySheetDialog(const PropertySheetDialog&) = delete;
    PropertySheetDialog& operator=(const PropertySheetDialog&) = delete;

    void AddPage(PropertyPage* page) { pages_.push_back(page); }
    // Runs the sheet modally: IDOK when it ended with OK, else IDCANCEL.
    INT_PTR DoModal();

protected:
    // Called for the sheet's own window before it is shown, and when it is destroyed.
    virtual void OnSheetCreated(HWND) {}

private:
    std::wstring caption_;
    HWND parent_;
    UINT startPage_;
    std::vector<PropertyPage*> pages_;
};

}  // namespace fw
