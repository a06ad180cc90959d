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
// An item's label: `name` in place of "%1" of string `format`, its ampersands doubled
// so that none is taken for the item's key.
std::wstring ItemLabel(UINT format, const std::wstring& name) {
    std::wstring shown;
    for (const wchar_t c : name) {
        if (c == L'&') shown += L'&';
        shown += c;
    }
    std::wstring label = fw::ResourceString(format);
    const size_t at = label.find(L"%1");
    if (at != std::wstring::npos) label.replace(at, 2, shown);
    return label;
}

// The rule item's label: the program's name in it.
std::wstring RuleItemLabel(const std::wstring& program) {
    return program.empty() ? fw::ResourceString(IDS_MENU_MAKE_RULE_NONE) : ItemLabel(IDS_MENU_MAKE_RULE, program);
}
}  // namespace

void CTray::ShowMenu(bool paused, const std::wstring& ruleProgram, bool ruleOffered,
                     const std::vector<std::wstring>& clickThrough) const {
    POINT pt = {};
    GetCursorPos(&pt);
    SetForegroundWindow(owner_);
    fw::Menu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.get(), MF_STRING | (paused ? MF_GRAYED : 0), ID_TRAY_SETTINGS,
                fw::ResourceString(IDS_MENU_SETTINGS).c_str());
    AppendMenuW(menu.get(), MF_STRING | (paused || !ruleOffered ? MF_GRAYED : 0), ID_TRAY_MAKE_RULE,
                RuleItemLabel(ruleProgram).c_str());
    // The click-through windows, each item giving its own back; no part without them.
    if (!clickThrough.empty()) AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    for (size_t i = 0; i < clickThrough.size() && i < kClickThroughItems; ++i)
        AppendMenuW(menu.get(), MF_STRING, ID_TRAY_CLICK_THROUGH + i,
                    ItemLabel(IDS_MENU_CLICK_THROUGH, clickThrough[i]).c_str());
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
