#include "tray_recorder.h"

#include <cstddef>
#include <cstring>

#include "rig.h"

namespace rig {

namespace {
constexpr wchar_t kTrayClass[] = L"Shell_TrayWnd";

// Wine's platform-independent form of NOTIFYICONDATA.
struct NotifyData {
    LONG hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    WCHAR szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    WCHAR szInfo[256];
    UINT uTimeoutOrVersion;
    WCHAR szInfoTitle[64];
    DWORD dwInfoFlags;
    GUID guidItem;
    UINT width;
    UINT height;
    UINT planes;
    UINT bpp;
};
}  // namespace

TrayRecorder::TrayRecorder() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTrayClass;
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kTrayClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                            this);
}

TrayRecorder::~TrayRecorder() {
    if (hwnd_) DestroyWindow(hwnd_);
    UnregisterClassW(kTrayClass, GetModuleHandleW(nullptr));
}

bool TrayRecorder::ok() const { return hwnd_ && FindWindowExW(nullptr, nullptr, kTrayClass, nullptr) == hwnd_; }

LRESULT CALLBACK TrayRecorder::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<TrayRecorder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->busyUntil_ && static_cast<LONG>(GetTickCount() - self->busyUntil_) < 0) {
        if (message == WM_NULL) Sleep(700);
        if (message == WM_COPYDATA) return FALSE;
    }
    if (self && message == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        TrayCall call;
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        call.when = now.QuadPart;
        call.action = static_cast<DWORD>(cds->dwData);
        call.sender = reinterpret_cast<HWND>(wParam);
        call.bytes = cds->cbData;
        if (cds->lpData && cds->cbData >= offsetof(NotifyData, szTip)) {
            NotifyData data = {};
            std::memcpy(&data, cds->lpData, cds->cbData < sizeof data ? cds->cbData : sizeof data);
            call.window = reinterpret_cast<HWND>(static_cast<intptr_t>(data.hWnd));
            call.id = data.uID;
            call.flags = data.uFlags;
            call.callbackMessage = data.uCallbackMessage;
            if (cds->cbData >= offsetof(NotifyData, dwState))
                call.tip.assign(data.szTip, wcsnlen(data.szTip, 128));
            if (cds->cbData >= sizeof data) {
                call.iconWidth = data.width;
                call.iconHeight = data.height;
            }
        }
        self->calls_.push_back(call);
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const std::vector<TrayCall>& TrayRecorder::Calls() {
    PumpMessages();
    return calls_;
}

std::vector<TrayCall> TrayRecorder::Calls(DWORD action) {
    std::vector<TrayCall> out;
    for (const TrayCall& call : Calls())
        if (call.action == action) out.push_back(call);
    return out;
}

void TrayRecorder::BeBusyFor(DWORD ms) { busyUntil_ = GetTickCount() + ms; }

void TrayRecorder::Clear() {
    PumpMessages();
    calls_.clear();
}

}  // namespace rig
