#include "program_probe.h"

#include "rig.h"

namespace rig {

namespace {
constexpr wchar_t kProbeDll[] = L"rig_probe.dll";
}

ProgramProbe::ProgramProbe() {
    module_ = LoadLibraryW((ProgramDirectory() + kProbeDll).c_str());
    if (!module_) return;
    using RecordFn = ProbeRecord* (*)();
    const auto address =
        reinterpret_cast<RecordFn>(reinterpret_cast<void*>(GetProcAddress(module_, "ProbeRecordAddress")));
    if (address && address()->magic == kProbeMagic) record_ = address();
}

ProgramProbe::~ProgramProbe() {
    Detach();
    if (module_) FreeLibrary(module_);
}

bool ProgramProbe::Attach(DWORD threadId) {
    if (!ok()) return false;
    Detach();
    Clear();
    // A new program has none of the replacements in place.
    InterlockedExchange(&record_->patchRequest, 0);
    InterlockedExchange(&record_->patchDone, 0);
    const auto getMessage = reinterpret_cast<HOOKPROC>(GetProcAddress(module_, "ProbeGetMessageProc"));
    const auto callWndProc = reinterpret_cast<HOOKPROC>(GetProcAddress(module_, "ProbeCallWndProc"));
    getMessage_ = SetWindowsHookExW(WH_GETMESSAGE, getMessage, module_, threadId);
    callWndProc_ = SetWindowsHookExW(WH_CALLWNDPROC, callWndProc, module_, threadId);
    return getMessage_ && callWndProc_;
}

void ProgramProbe::Detach() {
    if (getMessage_) UnhookWindowsHookEx(getMessage_);
    if (callWndProc_) UnhookWindowsHookEx(callWndProc_);
    getMessage_ = callWndProc_ = nullptr;
}

void ProgramProbe::Clear() {
    if (!ok()) return;
    InterlockedExchange(&record_->messageCount, 0);
    record_->menuCount = 0;
    ClearRedraws();
    InterlockedExchange(&record_->appBarQueries, 0);
    record_->countedMessage = 0;
    InterlockedExchange(&record_->counted, 0);
}

bool ProgramProbe::Settle(HWND programWindow, DWORD timeoutMs) {
    if (!ok()) return false;
    const LONG before = record_->settled;
    if (!PostMessageW(programWindow, kProbeSettleMessage, 0, 0)) return false;
    return WaitFor([&] { return record_->settled != before; }, timeoutMs);
}

std::vector<ProgramProbe::Control> ProgramProbe::MeasureControls(HWND programWindow, HWND window, SIZE* client) {
    std::vector<Control> out;
    if (!ok()) return out;
    const LONG before = record_->measured;
    record_->measureWindow = reinterpret_cast<uintptr_t>(window);
    if (!PostMessageW(programWindow, kProbeSettleMessage, kProbeMeasure, 0) ||
        !WaitFor([&] { return record_->measured != before; }))
        return out;
    if (client) *client = SIZE{record_->clientWidth, record_->clientHeight};
    for (uint32_t i = 0; i < record_->controlCount && i < kProbeControlCapacity; ++i) {
        const volatile ProbeControl& c = record_->controls[i];
        Control control{c.id, c.style, c.visible != 0, {}, RECT{c.left, c.top, c.right, c.bottom},
                        SIZE{c.needWidth, c.needHeight}, {}};
        for (uint32_t k = 0; k < 16 && c.className[k]; ++k) control.className.push_back(c.className[k]);
        for (uint32_t k = 0; k < kProbeTextSize * 2 && c.text[k]; ++k) control.text.push_back(c.text[k]);
        out.push_back(control);
    }
    return out;
}

bool ProgramProbe::Patch(HWND programWindow, LONG patch) {
    if (!ok()) return false;
    InterlockedOr(&record_->patchRequest, patch);
    // Any message makes the hooked thread look at the request.
    PostMessageW(programWindow, WM_NULL, 0, 0);
    return WaitFor([&] { return (record_->patchDone & patch) == patch; });
}

bool ProgramProbe::SteerTaskbar(HWND programWindow, UINT edge, RECT rect, UINT state) {
    if (!ok()) return false;
    record_->appBarEdge = edge;
    record_->appBarLeft = rect.left;
    record_->appBarTop = rect.top;
    record_->appBarRight = rect.right;
    record_->appBarBottom = rect.bottom;
    record_->appBarState = state;
    return Patch(programWindow, kPatchAppBar);
}

void ProgramProbe::CountPosted(UINT message) {
    if (!ok()) return;
    record_->countedMessage = message;
    InterlockedExchange(&record_->counted, 0);
}

bool ProgramProbe::RecordRedraws(HWND programWindow) {
    ClearRedraws();
    return Patch(programWindow, kPatchRedraw);
}

std::vector<ProbeRedraw> ProgramProbe::Redraws() const {
    std::vector<ProbeRedraw> out;
    if (!ok()) return out;
    const LONG n = record_->redrawCount;
    for (LONG i = 0; i < n && i < static_cast<LONG>(kProbeRedrawCapacity); ++i) {
        const volatile ProbeRedraw& r = record_->redraws[i];
        out.push_back(ProbeRedraw{r.window, r.left, r.top, r.right, r.bottom, r.hasRect, r.flags});
    }
    return out;
}

bool ProgramProbe::RecordPropertySheets(HWND programWindow) {
    if (!ok()) return false;
    InterlockedExchange(&record_->sheetRuns, 0);
    return Patch(programWindow, kPatchPropertySheet);
}

ProgramProbe::SheetRecords ProgramProbe::PropertySheetRecords() const {
    SheetRecords out = {};
    if (!ok()) return out;
    out.runs = record_->sheetRuns;
    out.headerSize = record_->sheetHeaderSize;
    for (uint32_t i = 0; i < record_->sheetPageCount && i < kProbeSheetPageCapacity; ++i)
        out.pageSizes.push_back(static_cast<UINT>(record_->sheetPageSizes[i]));
    return out;
}

void ProgramProbe::ClearRedraws() {
    if (ok()) InterlockedExchange(&record_->redrawCount, 0);
}

std::vector<ProbeMessage> ProgramProbe::Messages(HWND window, UINT message) const {
    std::vector<ProbeMessage> out;
    if (!ok()) return out;
    const LONG n = record_->messageCount;
    for (LONG i = 0; i < n; ++i) {
        const volatile ProbeMessage& m = record_->messages[i];
        if (window && m.window != reinterpret_cast<uintptr_t>(window)) continue;
        if (message && m.message != message) continue;
        out.push_back(ProbeMessage{m.window, m.message, m.posted, m.wParam, m.lParam});
    }
    return out;
}

std::vector<ProgramProbe::MenuItem> ProgramProbe::Menu() const {
    std::vector<MenuItem> items;
    if (!ok()) return items;
    const uint32_t n = record_->menuCount;
    for (uint32_t i = 0; i < n && i < kProbeMenuCapacity; ++i) {
        const volatile ProbeMenuItem& item = record_->menu[i];
        std::wstring text;
        for (uint32_t c = 0; c < kProbeTextSize && item.text[c]; ++c) text.push_back(item.text[c]);
        items.push_back(MenuItem{item.id, item.state, item.type, text});
    }
    return items;
}

}  // namespace rig
