#include "property_sheet.h"

#include "application.h"

namespace fw {

INT_PTR PropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        switch (hdr->code) {
        case PSN_SETACTIVE:
            return Handled(OnSetActive());
        case PSN_KILLACTIVE:
            return Handled(OnKillActive());
        case PSN_APPLY:
            return Handled(OnApply());
        case PSN_RESET:
            OnReset();
            return Handled(0);
        default:
            break;
        }
    }
    return Dialog::WindowProc(message, wParam, lParam);
}

PROPSHEETPAGEW PropertyPage::Describe(HINSTANCE instance) {
    PROPSHEETPAGEW psp = {};
    psp.dwSize = sizeof psp;
    psp.hInstance = instance;
    psp.pszTemplate = MAKEINTRESOURCEW(templateId());
    // The page's dialog procedure is the framework's; `this` arrives in lParam.
    psp.pfnDlgProc = PageProc;
    psp.lParam = reinterpret_cast<LPARAM>(this);
    return psp;
}

INT_PTR CALLBACK PropertyPage::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // For a page, lParam is its PROPSHEETPAGE; hand the dialog its object.
        lParam = reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam;
    }
    return DialogProcFor(hwnd, message, wParam, lParam);
}

PropertySheetDialog::PropertySheetDialog(const std::wstring& caption, HWND parent, UINT startPage)
    : caption_(caption), parent_(parent), startPage_(startPage) {}

INT_PTR PropertySheetDialog::DoModal() {
    Application* app = Application::Current();
    const HINSTANCE instance = app ? app->instance() : GetModuleHandleW(nullptr);
    std::vector<PROPSHEETPAGEW> descs;
    for (PropertyPage* page : pages_) descs.push_back(page->Describe(instance));
    PROPSHEETHEADERW psh = {};
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
    psh.hwndParent = parent_;
    psh.hInstance = instance;
    psh.pszCaption = caption_.c_str();
    psh.nPages = static_cast<UINT>(descs.size());
    psh.nStartPage = startPage_ < descs.size() ? startPage_ : 0;
    psh.ppsp = descs.data();
    const INT_PTR result = PropertySheetW(&psh);
    return result > 0 ? IDOK : IDCANCEL;
}

}  // namespace fw
