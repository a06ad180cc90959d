#include "property_sheet.h"

#include "application.h"
#include "resource_language.h"

namespace fw {

namespace {
constexpr wchar_t kSheetObject[] = L"fw.PropertySheet";

BOOL CALLBACK TellSysColorChange(HWND child, LPARAM) {
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}
}  // namespace

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
    } else if (message == WM_WINDOWPOSCHANGING) {
        // The sheet places a page from the size of its template; it lies in the tab
        // control's display area instead, which the sheet may have made smaller.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        const HWND sheet = GetParent(hwnd());
        const UINT keep = pos->flags & (SWP_NOMOVE | SWP_NOSIZE);
        if (sheet && PropSheet_GetTabControl(sheet) && keep != (SWP_NOMOVE | SWP_NOSIZE)) {
            const RECT area = PropertySheetDialog::PageArea(sheet);
            if (!(pos->flags & SWP_NOMOVE)) {
                pos->x = area.left;
                pos->y = area.top;
            }
            if (!(pos->flags & SWP_NOSIZE)) {
                pos->cx = area.right - area.left;
                pos->cy = area.bottom - area.top;
            }
        }
    }
    return Dialog::WindowProc(message, wParam, lParam);
}

PROPSHEETPAGEW_V1 PropertyPage::Describe(HINSTANCE instance) {
    PROPSHEETPAGEW_V1 psp = {};
    psp.dwSize = sizeof psp;
    // No PSP_HASHELP: the sheet shows no Help button. The template in the resources'
    // language, found here: the sheet's own lookup would take the system's choice.
    psp.dwFlags = PSP_DLGINDIRECT;
    psp.hInstance = instance;
    psp.pResource = DialogTemplate(instance, templateId());
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

PropertyPage* PropertySheetDialog::PageAt(int index) const {
    return index >= 0 && static_cast<size_t>(index) < pages_.size() ? pages_[static_cast<size_t>(index)] : nullptr;
}

int PropertySheetDialog::ActivePageIndex() const {
    if (!hwnd_) return -1;
    return TabCtrl_GetCurSel(PropSheet_GetTabControl(hwnd_));
}

RECT PropertySheetDialog::PageArea(HWND sheet) {
    const HWND tab = PropSheet_GetTabControl(sheet);
    RECT area = {};
    GetClientRect(tab, &area);
    TabCtrl_AdjustRect(tab, FALSE, &area);
    MapWindowPoints(tab, sheet, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

void PropertySheetDialog::FitPages() const {
    const RECT area = PageArea(hwnd_);
    for (const PropertyPage* page : pages_)
        if (page->hwnd())
            SetWindowPos(page->hwnd(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR PropertySheetDialog::DoModal() {
    Application* app = Application::Current();
    const HINSTANCE instance = app ? app->instance() : GetModuleHandleW(nullptr);
    // Records of the first versions: every field used is in them, and Windows 2000
    // knows no later ones. The sheet steps through the pages by their dwSize.
    std::vector<PROPSHEETPAGEW_V1> descs;
    for (PropertyPage* page : pages_) descs.push_back(page->Describe(instance));
    PROPSHEETHEADERW psh = {};
    psh.dwSize = PROPSHEETHEADERW_V1_SIZE;
    // No PSH_HASHELP: OK, Cancel and Apply only.
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP | PSH_MODELESS;
    psh.hwndParent = parent_;
    psh.hInstance = instance;
    psh.pszCaption = caption_.c_str();
    psh.nPages = static_cast<UINT>(descs.size());
    psh.nStartPage = startPage_ < descs.size() ? startPage_ : 0;
    psh.ppsp = reinterpret_cast<LPCPROPSHEETPAGEW>(descs.data());
    hwnd_ = reinterpret_cast<HWND>(PropertySheetW(&psh));
    if (!hwnd_) return IDCANCEL;

    SetPropW(hwnd_, kSheetObject, this);
    sheetProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PropertySheetDialog::SheetProc)));
    endedWithOk_ = false;
    const bool ownerEnabled = parent_ && IsWindowEnabled(parent_);
    if (ownerEnabled) EnableWindow(parent_, FALSE);
    OnInitSheet();

    // Until OK or Cancel: then the sheet has no current page any more.
    MSG msg;
    while (PropSheet_GetCurrentPageHwnd(hwnd_)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The application ends: leave its WM_QUIT to the main loop.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (PreTranslate(msg) || PropSheet_IsDialogMessage(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    OnEndSheet();
    // The owner is enabled again first, so that it gets the activation back.
    if (ownerEnabled) EnableWindow(parent_, TRUE);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return endedWithOk_ ? IDOK : IDCANCEL;
}

bool PropertySheetDialog::PreTranslate(const MSG& msg) {
    const HWND current = PropSheet_GetCurrentPageHwnd(hwnd_);
    for (PropertyPage* page : pages_)
        if (page->hwnd() && page->hwnd() == current) return page->PreTranslateMessage(msg);
    return false;
}

LRESULT CALLBACK PropertySheetDialog::SheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<PropertySheetDialog*>(GetPropW(hwnd, kSheetObject));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->SheetMessage(message, wParam, lParam);
}

LRESULT PropertySheetDialog::SheetMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = sheetProc_;
    switch (message) {
    case WM_COMMAND: {
        const LRESULT result = CallWindowProcW(original, hwnd_, message, wParam, lParam);
        if (LOWORD(wParam) == IDOK && !PropSheet_GetCurrentPageHwnd(hwnd_)) endedWithOk_ = true;
        if (LOWORD(wParam) == ID_APPLY_NOW && HIWORD(wParam) == BN_CLICKED) OnApplyNow();
        return result;
    }
    case WM_SYSCOLORCHANGE: {
        // Top-level windows get it; the controls of the pages learn of it from here.
        const LRESULT result = CallWindowProcW(original, hwnd_, message, wParam, lParam);
        EnumChildWindows(hwnd_, TellSysColorChange, 0);
        return result;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(hwnd_, kSheetObject);
        return CallWindowProcW(original, hwnd_, message, wParam, lParam);
    default:
        return CallWindowProcW(original, hwnd_, message, wParam, lParam);
    }
}

}  // namespace fw
