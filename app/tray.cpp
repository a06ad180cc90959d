#include "tray.h"

#include <iterator>

#include "dialog.h"
#include "handles.h"
#include "resource.h"

namespace app {

namespace {
// The waits before each repeated request: about six minutes in all, then the program
// waits for "TaskbarCreated" or the next apply.
constexpr UINT kRetryDelaysMs[] = {1000, 2000, 4000, 8000, 15000, 30000, 60000, 60000, 60000, 120000};
}  // namespace

void CTray::Attach(HWND owner, UINT callbackMessage, UINT_PTR retryTimer) {
    owner_ = owner;
    retryTimer_ = retryTimer;
    icon_.Fill(owner, callbackMessage);
}

void CTray::Show(bool visible) {
    visible_ = visible;
    KillTimer(owner_, retryTimer_);
    if (icon_.Show(visible)) {
        retries_ = 0;
        return;
    }
    if (retries_ >= static_cast<int>(std::size(kRetryDelaysMs))) return;
    SetTimer(owner_, retryTimer_, kRetryDelaysMs[retries_], nullptr);
}

void CTray::Retry() {
    ++retries_;
    Show(visible_);
}

void CTray::Restart(bool visible) {
    retries_ = 0;
    Show(visible);
}

namespace {
// The rule item's label: the program's name in place of "%1", its ampersands doubled
// so that none is taken for the item's key.
std::wstring RuleItemLabel(const std::wstring& program) {
    if (program.empty()) return fw::ResourceString(IDS_MENU_MAKE_RULE_NONE);
    std::wstring name;
    for (const wchar_t c : program) {
        if (c == L'&') name += L'&';
        name += c;
    }
    std::wstring label = fw::ResourceString(IDS_MENU_MAKE_RULE);
    const size_t at = label.find(L"%1");
    if (at != std::wstring::npos) label.replace(at, 2, name);
    return label;
}
}  // namespace

void CTray::ShowMenu(bool paused, const std::wstring& ruleProgram, bool ruleOffered) const {
    POINT pt = {};
    GetCursorPos(&pt);
    SetForegroundWindow(owner_);
    fw::Menu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.get(), MF_STRING | (paused ? MF_GRAYED : 0), ID_TRAY_SETTINGS,
                fw::ResourceString(IDS_MENU_SETTINGS).c_str());
    AppendMenuW(menu.get(), MF_STRING | (paused || !ruleOffered ? MF_GRAYED : 0), ID_TRAY_MAKE_RULE,
                RuleItemLabel(ruleProgram).c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, ID_TRAY_PAUSE,
                fw::ResourceString(paused ? IDS_MENU_RESUME : IDS_MENU_PAUSE).c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, ID_TRAY_ABOUT, fw::ResourceString(IDS_MENU_ABOUT).c_str());
    AppendMenuW(menu.get(), MF_STRING, ID_TRAY_EXIT, fw::ResourceString(IDS_MENU_EXIT).c_str());
    TrackPopupMenu(menu.get(), TPM_RIGHTALIGN | TPM_LEFTBUTTON, pt.x, pt.y, 0, owner_, nullptr);
    // Lets the menu of a background window close properly the next time it opens.
    PostMessageW(owner_, WM_NULL, 0, 0);
}

}  // namespace app
