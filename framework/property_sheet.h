// A property sheet of dialog pages, run modally. Each page is a Dialog whose PSN_*
// notifications arrive as virtual methods; their results go back to the sheet through
// DWLP_MSGRESULT (PSNRET_NOERROR, PSNRET_INVALID, ...).
//
// The sheet runs in a message loop of its own (a modeless sheet whose owner is
// disabled while it is shown), so that the active page can look at every message
// before it is dispatched (tooltips), and so that the sheet tells OK from Cancel even
// after an Apply: it returns IDOK only when OK closed it.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "dialog.h"

namespace fw {

// The Apply button of a property sheet (not in the SDK headers).
inline constexpr int ID_APPLY_NOW = 0x3021;

class PropertySheetDialog;

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
    // Sees every message of the sheet's loop, while this page is the active one,
    // before it is dispatched; true when it was taken here.
    virtual bool PreTranslateMessage(const MSG&) { return false; }
    // Enables the sheet's Apply button.
    void SetModified() { PropSheet_Changed(GetParent(hwnd()), hwnd()); }

    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The record of the first version (Windows 2000 refuses sizes it does not know).
    PROPSHEETPAGEW_V1 Describe(HINSTANCE instance);
};

class PropertySheetDialog {
public:
    PropertySheetDialog(const std::wstring& caption, HWND parent, UINT startPage);
    virtual ~PropertySheetDialog() = default;
    PropertySheetDialog(const PropertySheetDialog&) = delete;
    PropertySheetDialog& operator=(const PropertySheetDialog&) = delete;

    void AddPage(PropertyPage* page) { pages_.push_back(page); }
    // Runs the sheet modally: IDOK when OK closed it, else IDCANCEL.
    INT_PTR DoModal();

    HWND hwnd() const { return hwnd_; }
    // The window the sheet was opened for.
    HWND parent() const { return parent_; }
    // The page at tab `index`, or null.
    PropertyPage* PageAt(int index) const;
    // The index of the page on top (-1 if none).
    int ActivePageIndex() const;
    // The tab control's display area in the sheet's client coordinates: where every
    // page lies, whatever size its template gives it.
    static RECT PageArea(HWND sheet);

protected:
    // Places every page created so far in the display area (after the tab control was
    // moved or sized; pages created later fit themselves).
    void FitPages() const;

    // The sheet window exists with its first page: the sheet's own initialisation.
    virtual void OnInitSheet() {}
    // After the Apply button's click has gone through the sheet (the pages applied).
    virtual void OnApplyNow() {}
    // The run is over, the window still exists.
    virtual void OnEndSheet() {}

private:
    static LRESULT CALLBACK SheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT SheetMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool PreTranslate(const MSG& msg);

    std::wstring caption_;
    HWND parent_;
    UINT startPage_;
    std::vector<PropertyPage*> pages_;
    HWND hwnd_ = nullptr;
    WNDPROC sheetProc_ = nullptr;
    bool endedWithOk_ = false;
};

}  // namespace fw
