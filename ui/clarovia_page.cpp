#include "clarovia_page.h"

#include <commctrl.h>

#include "dialog.h"
#include "resource.h"

namespace ui {

bool CClaroviaPage::MarkIfDiffers(int id, int field) {
    const bool differs = Check(id) != field;
    if (differs) MarkChanged();
    return differs;
}

void ShowLevelText(HWND dialog, int labelId, int level) {
    const UINT format = level < 10 ? IDS_LEVEL_BELOW_10 : level < 100 ? IDS_LEVEL_BELOW_100 : IDS_LEVEL;
    wchar_t text[64];
    // The formats are ours, a number and a few characters: they fit.
    wsprintfW(text, fw::ResourceString(format).c_str(), level);
    fw::SetItemText(dialog, labelId, text);
}

INT_PTR CClaroviaPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        // A click, or one posted by the page itself (notification code 0).
        if (HIWORD(wParam) == BN_CLICKED && IsClickable(id)) {
            OnClick(id);
        } else if (HIWORD(wParam) == EN_CHANGE) {
            for (const int edit : markingEdits_)
                if (edit == id) MarkChanged();
        }
        return Default();
    }
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (levelId_ && hdr->idFrom == static_cast<UINT_PTR>(levelId_) && hdr->code == NM_CUSTOMDRAW) {
            // The trackbar paints: at its first display and whenever the thumb moves.
            const int level = Level();
            ShowLevel(level);
            if (Settings && level != Settings->*levelField_) MarkChanged();
            return Handled(CDRF_DODEFAULT);
        }
        if (upDownId_ && hdr->idFrom == static_cast<UINT_PTR>(upDownId_) && hdr->code == UDN_DELTAPOS) {
            MarkChanged();
            return Handled(0);  // the up-down carries out the step
        }
        return fw::PropertyPage::WindowProc(message, wParam, lParam);
    }
    default:
        return fw::PropertyPage::WindowProc(message, wParam, lParam);
    }
}

bool CTooltipPage::PreTranslateMessage(const MSG& msg) {
    for (const fw::Tooltip* tip : tips_) tip->Relay(msg);
    return CClaroviaPage::PreTranslateMessage(msg);
}

void CTooltipPage::AddTooltip(fw::Tooltip& tip, int id, UINT textId) {
    if (tip.Create(GetDlgItem(hwnd(), id), fw::ResourceString(textId))) tips_.push_back(&tip);
}

}  // namespace ui
