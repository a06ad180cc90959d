// The fuzz host of vitrel_bench: a pool of windows of its own and of another process
// (rig_target.exe), live, hidden, dead and made up, and random events from the seed fed
// to every hook procedure among them. What it is feeding, and the record's settings,
// stay in the report the supervisor reads after a crash or a hang.
#include <windows.h>

#include <algorithm>
#include <cinttypes>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "hook_bench.h"
#include "rig.h"
#include "shared_settings.h"

namespace hookbench {
namespace {

uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t Next() { return Mix(state_ += 0x9E3779B97F4A7C15ull); }
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(((Next() >> 32) * n) >> 32); }
    bool Chance(uint32_t percent) { return Below(100) < percent; }
    template <typename T, size_t N>
    T Pick(const T (&items)[N]) {
        return items[Below(static_cast<uint32_t>(N))];
    }

private:
    uint64_t state_;
};

constexpr int kFirstLive = kOwnCaptioned, kLiveEnd = kOwnDead1;
// Windows that are hidden when the pool is made; the hooks may show them.
constexpr int kHiddenByDesign[] = {kOwnHidden, kForeignHidden, kForeignXpMenu};

FuzzReport* g_report;

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info) {
    if (g_report) {
        g_report->exceptionCode = info->ExceptionRecord->ExceptionCode;
        g_report->exceptionAddress = reinterpret_cast<uintptr_t>(info->ExceptionRecord->ExceptionAddress);
        std::memcpy(&g_report->settings, &g_sharedStorage, sizeof g_report->settings);
        Store(g_report->state, static_cast<LONG>(kCrashed));
    }
    fprintf(stderr, "fuzz host: exception 0x%08lx at event %" PRId64 "\n",
            static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode), g_report ? g_report->next : -1);
    fflush(stderr);
    // The process ends with the exception code as its exit code.
    return EXCEPTION_EXECUTE_HANDLER;
}

class FuzzHost {
public:
    FuzzHost(int64_t perHook, uint64_t seed, FuzzReport* report) : perHook_(perHook), seed_(seed), report_(report) {}
    ~FuzzHost();
    int Run(int64_t first, bool supervised);

private:
    bool BuildPool();
    void RandomiseWorld(int64_t block);
    void RandomiseSettings(Rng& r);
    int PickWindow(Rng& r);
    POINT PickPoint(Rng& r, int window);
    int PickCode(Rng& r);
    LPARAM Pointer(Rng& r, void* structure, FuzzStructure kind);
    LRESULT Feed(int64_t index);
    void TakeStock();

    int64_t perHook_;
    uint64_t seed_;
    FuzzReport* report_;
    std::unique_ptr<rig::HostProcess> helper_;
    HWND control_ = nullptr;  // answers pings; the program window of the record
    HWND pool_[kPoolSize] = {};
    RECT rects_[kPoolSize] = {};
    std::vector<HWND> own_;  // every window this process made, destroyed at the end
    // The structures a call points to.
    MOUSEHOOKSTRUCTEX mouse_ = {};
    CWPSTRUCT cwp_ = {};
    MSG msg_ = {};
    RECT rect_ = {};
    // What the hooks did, as far as it shows: calls answered with nonzero (swallowed
    // or stepped), and at every checkpoint the live windows found layered or topmost
    // and the hidden ones found shown.
    int64_t nonzero_[kHookCount] = {};
    int64_t layered_ = 0, topmost_ = 0, shown_ = 0;
};

FuzzHost::~FuzzHost() {
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    for (auto it = own_.rbegin(); it != own_.rend(); ++it)
        if (IsWindow(*it)) DestroyWindow(*it);
    if (control_) DestroyWindow(control_);
    rig::PumpMessages();
    helper_.reset();  // asks rig_target to quit and waits for it
}

bool FuzzHost::BuildPool() {
    auto own = [&](int index, DWORD exStyle, DWORD style, int x, int y, int w, int h, HWND parent = nullptr) {
        const HWND window = MakeWindow(exStyle, style, x, y, w, h, parent, L"Clarovia fuzz");
        pool_[index] = window;
        if (window) own_.push_back(window);
        return window != nullptr;
    };
    bool ok = own(kOwnCaptioned, 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 220) &&
              own(kOwnPopup, 0, WS_POPUP | WS_BORDER | WS_VISIBLE, 400, 40, 200, 150) &&
              own(kOwnHidden, 0, WS_OVERLAPPEDWINDOW, 120, 280, 300, 200) &&
              own(kOwnTool, WS_EX_TOOLWINDOW, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, 660, 40, 260, 180) &&
              own(kOwnChild, 0, WS_CHILD | WS_CAPTION | WS_VISIBLE, 10, 10, 150, 90, pool_[kOwnCaptioned]);
    if (!ok) return false;
    // A handle whose bits beyond the 32 that carry it are garbage; where a handle has no
    // more bits, one of the same slot with another generation count (its high word).
#if defined(_WIN64)
    pool_[kOwnHighBits] = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(pool_[kOwnCaptioned]) |
                                                 (uintptr_t{0xDEADBEEF} << 32));
#else
    pool_[kOwnHighBits] = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(pool_[kOwnCaptioned]) ^ 0xBEEF0000u);
#endif

    helper_ = std::make_unique<rig::HostProcess>(L"rig_target.exe");
    if (!helper_->ok()) return false;
    Store(report_->helperPid, static_cast<uint32_t>(helper_->pid()));
    auto foreign = [&](int index, const wchar_t* cls, DWORD style, int x, int y, int w, int h) {
        rig::WindowSpec shape;
        shape.className = cls;
        shape.title = L"Clarovia fuzz (foreign)";
        shape.style = style;
        shape.x = x;
        shape.y = y;
        shape.width = w;
        shape.height = h;
        const HWND window = helper_->Create(shape);
        if (index >= 0) pool_[index] = window;
        return window;
    };
    ok = foreign(kForeignCaptioned, L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 360, 320, 220) &&
         foreign(kForeignPopup, L"RigWindow", WS_POPUP | WS_BORDER | WS_VISIBLE, 460, 360, 200, 150) &&
         foreign(kForeignHidden, L"RigWindow", WS_OVERLAPPEDWINDOW, 700, 260, 260, 200) &&
         foreign(kForeignTray, L"Shell_TrayWnd", WS_POPUP | WS_VISIBLE, 0, 690, 640, 40) &&
         foreign(kForeignXpMenu, L"DV2ControlHost", WS_POPUP | WS_BORDER, 0, 300, 300, 380) &&
         foreign(kForeignBaseBar, L"BaseBar", WS_POPUP | WS_BORDER | WS_VISIBLE, 700, 480, 200, 200);
    if (!ok) return false;

    // Dead handles: windows made and destroyed again.
    for (int index : {kOwnDead1, kOwnDead2}) {
        const HWND window = MakeWindow(0, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
        DestroyWindow(window);
        pool_[index] = window;
    }
    for (int index : {kForeignDead1, kForeignDead2}) {
        const HWND window = foreign(-1, L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
        helper_->Destroy(window);
        pool_[index] = window;
    }
    // Garbage: values that name no window. Never HWND_BROADCAST or (HWND)-1, which
    // user32 takes as "every top-level window", in whatever width: a broadcast would
    // reach the whole shared desktop.
    auto v32 = [](HWND h) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h)); };
    Rng r(Mix(seed_ ^ 0x6A7BA6Eull));
    for (int index = kGarbage1; index <= kGarbage6; ++index) {
        HWND candidate;
        do {
            uint64_t v = r.Next();
            switch (index - kGarbage1) {
            case 0: v &= 0xFFFF; break;             // a bare handle index
            case 1: v &= 0xFFFFFFFF; break;         // a 32-bit handle word
            case 2: v = static_cast<uint64_t>(static_cast<int64_t>(static_cast<int32_t>(v))); break;
            case 3: v |= 0xFFFF; break;              // looks like a handle, generation anything
            default: break;                          // anything at all
            }
            candidate = reinterpret_cast<HWND>(static_cast<uintptr_t>(v));
        } while (IsWindow(candidate) || candidate == nullptr || (v32(candidate) == 0xFFFF) ||
                 v32(candidate) == 0xFFFFFFFF);
        pool_[index] = candidate;
    }
    pool_[kNull] = nullptr;
    for (int index : {kOwnDead1, kOwnDead2, kForeignDead1, kForeignDead2})
        if (IsWindow(pool_[index])) return false;
    return true;
}

// Now and then: new settings, new modifier keys, and some of what the hooks did to
// the windows undone or stirred, so that every branch keeps being reached.
void FuzzHost::TakeStock() {
    for (int index = kFirstLive; index < kLiveEnd; ++index) {
        const LONG exStyle = GetWindowLongW(pool_[index], GWL_EXSTYLE);
        if (exStyle & WS_EX_LAYERED) ++layered_;
        if (exStyle & WS_EX_TOPMOST) ++topmost_;
    }
    for (int index : kHiddenByDesign)
        if (IsWindowVisible(pool_[index])) ++shown_;
}

void FuzzHost::RandomiseWorld(int64_t block) {
    TakeStock();
    Rng r(Mix(seed_ ^ Mix(0x3000000000000000ull + static_cast<uint64_t>(block))));
    RandomiseSettings(r);
    std::memcpy(&report_->settings, &g_sharedStorage, sizeof report_->settings);

    BYTE keys[256] = {};
    if (r.Chance(30)) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    if (r.Chance(10)) keys[VK_SHIFT] = keys[VK_RSHIFT] = 0x80;
    if (r.Chance(30)) keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(keys);

    if (r.Chance(25)) {
        for (int index : kHiddenByDesign)
            SetWindowPos(pool_[index], HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
    if (r.Chance(25)) {
        const HWND window = pool_[kFirstLive + static_cast<int>(r.Below(kLiveEnd - kFirstLive))];
        SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    }
    if (r.Chance(10)) {
        for (int index = kFirstLive; index < kLiveEnd; ++index)
            SetWindowPos(pool_[index], HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (r.Chance(15)) {
        const HWND window = pool_[kFirstLive + static_cast<int>(r.Below(kLiveEnd - kFirstLive))];
        if (IsWindowVisible(window)) SetForegroundWindow(window);
    }
    for (int index = 0; index < kPoolSize; ++index) {
        RECT rc = {};
        if (index < kLiveEnd && GetWindowRect(pool_[index], &rc) && rc.right > rc.left && rc.bottom > rc.top) {
            rects_[index] = rc;
        } else {
            const LONG x = static_cast<LONG>(r.Below(900)), y = static_cast<LONG>(r.Below(700));
            rects_[index] = RECT{x, y, x + 100 + static_cast<LONG>(r.Below(300)), y + 100 + static_cast<LONG>(r.Below(300))};
        }
    }
}

int32_t AnyInt(Rng& r) {
    static const int32_t edges[] = {INT_MIN, INT_MIN + 1, -100000, -256, -255, -5, -1, 0, 1, 2, 3, 4,
                                    9, 10, 11, 127, 128, 200, 254, 255, 256, 300, 65535, 100000, INT_MAX};
    switch (r.Below(3)) {
    case 0: return r.Pick(edges);
    case 1: return static_cast<int32_t>(r.Below(600)) - 100;
    default: return static_cast<int32_t>(r.Next());
    }
}

int32_t Flag(Rng& r) { return r.Chance(90) ? static_cast<int32_t>(r.Below(2)) : AnyInt(r); }

int32_t Alpha(Rng& r) {
    static const int32_t values[] = {-5, -1, 0, 1, 9, 10, 11, 100, 128, 200, 254, 255, 256, 300, 100000, INT_MIN, INT_MAX};
    switch (r.Below(3)) {
    case 0: return r.Pick(values);
    case 1: return static_cast<int32_t>(r.Below(256));
    default: return AnyInt(r);
    }
}

void FuzzHost::RandomiseSettings(Rng& r) {
    volatile SharedSettings& s = g_shared;
    s.Locked = r.Chance(90) ? 0 : Flag(r);
    s.SClickTP = Flag(r);
    s.MClickTP = Flag(r);
    s.WheelTP = Flag(r);
    s.MoveTP = Flag(r);
    s.MoveTPLimit = Flag(r);
    s.SizingTP = Flag(r);
    s.ClaroviaValue = Alpha(r);
    s.MoveTPValue = Alpha(r);
    s.SizingTPValue = Alpha(r);
    s.TaskbarTPValue = Alpha(r);
    static const int32_t steps[] = {INT_MIN, -100000, -300, -5, -1, 0, 1, 5, 10, 20, 255, 300, 100000, INT_MAX};
    s.WheelTPValue = r.Chance(70) ? r.Pick(steps) : AnyInt(r);
    s.WheelLevel = Alpha(r);
    static const int32_t sizes[] = {INT_MIN, -1, 0, 1, 100, 300, 500, 800, 5000, INT_MAX};
    s.MoveTPW = r.Chance(70) ? r.Pick(sizes) : AnyInt(r);
    s.MoveTPH = r.Chance(70) ? r.Pick(sizes) : AnyInt(r);
    s.MovingActive = Flag(r);
    s.SizingActive = Flag(r);
    s.WheelActive = Flag(r);
    s.ShadeTP = Flag(r);
    s.ShadeRight = Flag(r);
    s.ShadeArea = r.Chance(90) ? static_cast<int32_t>(r.Below(4)) : AnyInt(r);
    s.StartButtonTextTP = Flag(r);
    s.OverlapTP = Flag(r);
    s.TopmostTP = Flag(r);
    s.TaskbarTP = Flag(r);
    s.StartMenuTP = Flag(r);
    // The program window: mostly this process's, sometimes none, a dead one or a window
    // that is no program window at all. (Never garbage: see BuildPool.)
    static const int others[] = {kNull, kOwnDead1, kForeignDead1, kOwnCaptioned, kForeignCaptioned};
    s.ProgramWindow = WordFromHandle(r.Chance(85) ? control_ : pool_[r.Pick(others)]);
    // Hook handles: CallNextHookEx is given whatever the record holds.
    const bool junkHooks = r.Chance(10);
    s.MouseHook = junkHooks ? static_cast<uint32_t>(r.Next()) : 0;
    s.CallWndProcHook = junkHooks ? static_cast<uint32_t>(r.Next()) : 0;
    s.KeyboardHook = junkHooks ? static_cast<uint32_t>(r.Next()) : 0;
    s.GetMessageHook = junkHooks ? static_cast<uint32_t>(r.Next()) : 0;
    s.ShellHook = junkHooks ? static_cast<uint32_t>(r.Next()) : 0;
}

int FuzzHost::PickWindow(Rng& r) {
    if (r.Chance(70)) return kFirstLive + static_cast<int>(r.Below(kLiveEnd - kFirstLive));
    return static_cast<int>(r.Below(kPoolSize));
}

// Mostly on the window's title bar or frame, where the gestures act.
POINT FuzzHost::PickPoint(Rng& r, int window) {
    const RECT& rc = rects_[window >= 0 ? window : kOwnCaptioned];
    const LONG w = std::max<LONG>(1, rc.right - rc.left), h = std::max<LONG>(1, rc.bottom - rc.top);
    switch (r.Below(6)) {
    case 0:
    case 1:
        return POINT{rc.left + static_cast<LONG>(r.Below(static_cast<uint32_t>(w))),
                     rc.top + static_cast<LONG>(r.Below(static_cast<uint32_t>(std::min<LONG>(h, 32))))};
    case 2:
        return POINT{r.Chance(50) ? rc.left + static_cast<LONG>(r.Below(5)) : rc.right - 1 - static_cast<LONG>(r.Below(5)),
                     rc.top + static_cast<LONG>(r.Below(static_cast<uint32_t>(h)))};
    case 3:
        return POINT{rc.left + static_cast<LONG>(r.Below(static_cast<uint32_t>(w))),
                     rc.top + static_cast<LONG>(r.Below(static_cast<uint32_t>(h)))};
    case 4:
        return POINT{static_cast<LONG>(r.Below(1024)), static_cast<LONG>(r.Below(768))};
    default:
        return POINT{static_cast<int16_t>(r.Next()), static_cast<int16_t>(r.Next())};
    }
}

int FuzzHost::PickCode(Rng& r) {
    const uint32_t roll = r.Below(100);
    if (roll < 85) return HC_ACTION;
    if (roll < 90) return HC_NOREMOVE;
    if (roll < 95) return -1 - static_cast<int>(r.Below(5));
    return AnyInt(r);
}

LPARAM FuzzHost::Pointer(Rng& r, void* structure, FuzzStructure kind) {
    if (r.Chance(2)) {
        report_->input.structure = kNullPointer;
        return 0;
    }
    report_->input.structure = kind;
    return reinterpret_cast<LPARAM>(structure);
}

int64_t HitTestCode(Rng& r) {
    static const int64_t gesture[] = {HTCAPTION, HTLEFT, HTRIGHT, HTTOP, HTTOPLEFT, HTTOPRIGHT,
                                      HTBOTTOM, HTBOTTOMLEFT, HTBOTTOMRIGHT, HTBORDER};
    static const int64_t other[] = {HTERROR, HTTRANSPARENT, HTNOWHERE, HTCLIENT, HTSYSMENU, HTGROWBOX, HTMENU,
                                    HTHSCROLL, HTVSCROLL, HTMINBUTTON, HTMAXBUTTON, HTOBJECT, HTCLOSE, HTHELP};
    const uint32_t roll = r.Below(100);
    if (roll < 55) return r.Pick(gesture);
    if (roll < 85) return r.Pick(other);
    return AnyInt(r);
}

uint64_t AnyWord(Rng& r) {
    switch (r.Below(3)) {
    case 0: return static_cast<uint64_t>(static_cast<int64_t>(AnyInt(r)));
    case 1: return r.Next() & 0xFFFFFFFF;
    default: return r.Next();
    }
}

// One event for one hook procedure, made from the seed and its index alone.
LRESULT FuzzHost::Feed(int64_t index) {
    Rng r(Mix(seed_ ^ Mix(static_cast<uint64_t>(index))));
    const int hook = static_cast<int>(index % kHookCount);
    FuzzInput& in = report_->input;
    in = FuzzInput{};
    in.hook = hook;
    in.window = -1;
    int code = PickCode(r);
    WPARAM wParam = 0;
    LPARAM lParam = 0;

    switch (hook) {
    case 0: {  // mouse: wParam the mouse message, lParam a MOUSEHOOKSTRUCT(EX)
        static const UINT acted[] = {WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN};
        static const UINT other[] = {WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                     WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_NCLBUTTONUP, WM_NCRBUTTONUP,
                                     WM_NCRBUTTONDBLCLK, WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK, WM_MOUSEWHEEL,
                                     WM_MOUSEHWHEEL, WM_NCXBUTTONDOWN, WM_XBUTTONDOWN};
        const uint32_t roll = r.Below(100);
        uint64_t message = roll < 60 ? r.Pick(acted) : roll < 85 ? r.Pick(other) : AnyWord(r);
        if (r.Chance(3)) message |= r.Next() << 32;  // the hook looks at the low 32 bits only
        wParam = static_cast<WPARAM>(message);
        const int window = PickWindow(r);
        const POINT pt = PickPoint(r, window);
        mouse_ = MOUSEHOOKSTRUCTEX{};
        mouse_.pt = pt;
        mouse_.hwnd = pool_[window];
        mouse_.wHitTestCode = static_cast<UINT>(HitTestCode(r));
        mouse_.dwExtraInfo = static_cast<ULONG_PTR>(AnyWord(r));
        mouse_.mouseData = static_cast<DWORD>(AnyWord(r));
        lParam = Pointer(r, &mouse_, kMouseStruct);
        in.window = window;
        in.hwnd = reinterpret_cast<uintptr_t>(mouse_.hwnd);
        in.message = message;
        in.hitTest = static_cast<int32_t>(mouse_.wHitTestCode);
        in.x = pt.x;
        in.y = pt.y;
        break;
    }
    case 1: {  // call-window-proc: lParam a CWPSTRUCT
        static const UINT acted[] = {WM_PAINT, WM_ACTIVATE, WM_ACTIVATEAPP, WM_MOVING,
                                     WM_SIZING, WM_EXITSIZEMOVE, WM_ENTERSIZEMOVE};
        static const UINT other[] = {WM_GETTEXT, WM_SETCURSOR, WM_NCHITTEST, WM_WINDOWPOSCHANGED, WM_NCPAINT,
                                     WM_ERASEBKGND, WM_NCACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_USER + 5};
        const uint32_t roll = r.Below(100);
        const UINT message = roll < 65 ? r.Pick(acted) : roll < 85 ? r.Pick(other) : static_cast<UINT>(AnyWord(r));
        static const WPARAM activations[] = {WA_INACTIVE, WA_ACTIVE, WA_CLICKACTIVE, 0x10001};
        const int window = PickWindow(r);
        const LONG x = static_cast<LONG>(r.Below(900)), y = static_cast<LONG>(r.Below(700));
        rect_ = RECT{x, y, x + static_cast<LONG>(r.Below(1200)), y + static_cast<LONG>(r.Below(900))};
        cwp_ = CWPSTRUCT{};
        cwp_.hwnd = pool_[window];
        cwp_.message = message;
        cwp_.wParam = r.Chance(70) ? r.Pick(activations) : static_cast<WPARAM>(AnyWord(r));
        cwp_.lParam = r.Chance(70) ? reinterpret_cast<LPARAM>(&rect_) : static_cast<LPARAM>(AnyWord(r));
        wParam = r.Chance(90) ? r.Below(2) : static_cast<WPARAM>(AnyWord(r));
        lParam = Pointer(r, &cwp_, kCwpStruct);
        in.window = window;
        in.hwnd = reinterpret_cast<uintptr_t>(cwp_.hwnd);
        in.message = message;
        in.innerWParam = cwp_.wParam;
        in.innerLParam = static_cast<uint64_t>(cwp_.lParam);
        break;
    }
    case 2: {  // keyboard: wParam the key, lParam the key data
        const uint32_t roll = r.Below(100);
        static const uint64_t escVariants[] = {0xC0010001u, 0x40010001u, 0x80010001u, 0x00000001u,
                                               0x00010002u, 0x01010001u, 0x20010001u, 0x100010001ull,
                                               0xFFFFFFFF00010001ull};
        if (roll < 45)
            lParam = 0x00010001;
        else if (roll < 65)
            lParam = static_cast<LPARAM>(r.Pick(escVariants));
        else
            lParam = static_cast<LPARAM>(AnyWord(r));
        wParam = r.Chance(50) ? VK_ESCAPE : r.Chance(80) ? r.Below(256) : static_cast<WPARAM>(AnyWord(r));
        in.structure = kValue;
        break;
    }
    case 3: {  // get-message: lParam the MSG, which the hook may change
        static const UINT ordinary[] = {WM_TIMER, WM_MOUSEMOVE, WM_KEYDOWN, WM_PAINT, WM_NCLBUTTONDOWN, WM_CHAR};
        const uint32_t roll = r.Below(100);
        UINT message;
        if (roll < 60) message = WM_MOUSEWHEEL;
        else if (roll < 70) message = WM_MOUSEHWHEEL;
        else if (roll < 85) message = r.Pick(ordinary);
        else message = static_cast<UINT>(AnyWord(r));
        static const int16_t deltas[] = {WHEEL_DELTA, -WHEEL_DELTA, 2 * WHEEL_DELTA, -2 * WHEEL_DELTA,
                                         1, -1, 0, SHRT_MAX, SHRT_MIN};
        const int16_t delta = r.Chance(80) ? r.Pick(deltas) : static_cast<int16_t>(r.Next());
        const int window = PickWindow(r);
        const POINT pt = PickPoint(r, window);
        msg_ = MSG{};
        msg_.hwnd = pool_[window];
        msg_.message = message;
        msg_.wParam = r.Chance(85) ? MAKEWPARAM(r.Below(0x80), static_cast<uint16_t>(delta))
                                   : static_cast<WPARAM>(AnyWord(r));
        msg_.lParam = r.Chance(90) ? MAKELPARAM(pt.x, pt.y) : static_cast<LPARAM>(AnyWord(r));
        msg_.time = static_cast<DWORD>(r.Next());
        msg_.pt = pt;
        static const WPARAM removal[] = {PM_REMOVE, PM_NOREMOVE};
        wParam = r.Chance(90) ? r.Pick(removal) : static_cast<WPARAM>(AnyWord(r));
        lParam = Pointer(r, &msg_, kMsgStruct);
        in.window = window;
        in.hwnd = reinterpret_cast<uintptr_t>(msg_.hwnd);
        in.message = message;
        in.x = pt.x;
        in.y = pt.y;
        in.innerWParam = msg_.wParam;
        in.innerLParam = static_cast<uint64_t>(msg_.lParam);
        break;
    }
    default: {  // shell: the code is the event, wParam the window
        static const int others[] = {HSHELL_WINDOWDESTROYED, HSHELL_ACTIVATESHELLWINDOW, HSHELL_WINDOWACTIVATED,
                                     HSHELL_GETMINRECT, HSHELL_REDRAW, HSHELL_TASKMAN, HSHELL_LANGUAGE,
                                     HSHELL_SYSMENU, HSHELL_ENDTASK, HSHELL_ACCESSIBILITYSTATE,
                                     HSHELL_APPCOMMAND, HSHELL_WINDOWREPLACED, HSHELL_WINDOWREPLACING,
                                     HSHELL_MONITORCHANGED, HSHELL_RUDEAPPACTIVATED, HSHELL_FLASH};
        const uint32_t roll = r.Below(100);
        code = roll < 55 ? HSHELL_WINDOWCREATED : roll < 80 ? r.Pick(others) : AnyInt(r);
        const int window = PickWindow(r);
        wParam = r.Chance(85) ? reinterpret_cast<WPARAM>(pool_[window]) : static_cast<WPARAM>(AnyWord(r));
        lParam = r.Chance(50) ? 0 : static_cast<LPARAM>(AnyWord(r));
        in.window = window;
        in.hwnd = wParam;
        in.structure = kValue;
        break;
    }
    }
    in.code = code;
    in.wParam = wParam;
    in.lParam = static_cast<uint64_t>(lParam);
    Store(report_->next, index);
    return kHookProcs[hook](code, wParam, lParam);
}

int FuzzHost::Run(int64_t first, bool supervised) {
    control_ = CreateWindowExW(0, kWindowClass, L"Clarovia fuzz host", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!control_ || !BuildPool()) {
        Say("fuzz host: could not make the window pool (rig_target.exe next to this program?)\n");
        Store(report_->state, static_cast<LONG>(kFailed));
        return 2;
    }
    Store(report_->hostWindow, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(control_)));
    Store(report_->state, static_cast<LONG>(kReady));

    const int64_t total = perHook_ * kHookCount;
    constexpr int64_t kWorldEvery = 1000;
    Say("fuzz host: %" PRId64 " events per hook procedure from event %" PRId64 ", seed %" PRIu64
        ", %d windows in the pool\n",
        perHook_, first, seed_, static_cast<int>(kPoolSize));
    const double start = Now();
    ULONGLONG lastPump = GetTickCount64();
    int64_t fed = 0;
    int64_t nextProgress = (first / (total / 10 + 1) + 1) * (total / 10 + 1);
    for (int64_t i = first; i < total; ++i) {
        if (i == first || i % kWorldEvery == 0) RandomiseWorld(i / kWorldEvery);
        if (Feed(i) != 0) ++nonzero_[i % kHookCount];
        Store(report_->fed, ++fed);
        // The reports the hooks post, and whatever the windows were sent, are handled
        // between batches; the supervisor's pings with them.
        if ((i & 31) == 0 && GetTickCount64() - lastPump >= 10) {
            rig::PumpMessages();
            lastPump = GetTickCount64();
        }
        if (i + 1 >= nextProgress && i + 1 < total) {
            Say("fuzz host: %" PRId64 "%% (%" PRId64 " of %" PRId64 " events, %.1f s)\n", (i + 1) * 100 / total,
                i + 1, total, Now() - start);
            nextProgress += total / 10 + 1;
        }
    }
    rig::PumpMessages();
    Store(report_->state, static_cast<LONG>(kFinished));
    TakeStock();
    Say("fuzz host: %.1f s, %" PRId64 " reports reached the program window\n", Now() - start, g_reports);
    Say("fuzz host: nonzero answers: mouse %" PRId64 ", callwndproc %" PRId64 ", keyboard %" PRId64
        ", getmessage %" PRId64 ", shell %" PRId64 "; at the checkpoints: live windows layered %" PRId64
        " times, topmost %" PRId64 " times, hidden ones shown %" PRId64 " times\n",
        nonzero_[0], nonzero_[1], nonzero_[2], nonzero_[3], nonzero_[4], layered_, topmost_, shown_);
    Say("fuzzed %" PRId64 " events\n", fed);

    if (supervised) {
        // Stays answering until the supervisor has checked on it and says quit.
        const ULONGLONG until = GetTickCount64() + 60000;
        while (!Load(report_->quit) && GetTickCount64() < until) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            rig::PumpMessages();
        }
    }
    return 0;
}

}  // namespace

int FuzzMain(int64_t perHook, uint64_t seed, int64_t first, const wchar_t* reportName) {
    FuzzReport local = {};
    FuzzReport* report = &local;
    HANDLE mapping = nullptr;
    if (reportName) {
        mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, reportName);
        if (mapping) report = static_cast<FuzzReport*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(FuzzReport)));
        if (!report) {
            Say("fuzz host: cannot open the report mapping\n");
            return 2;
        }
    }
    g_report = report;
    SetUnhandledExceptionFilter(OnCrash);
    int status;
    {
        FuzzHost host(perHook, seed, report);
        status = host.Run(first, reportName != nullptr);
    }
    g_report = nullptr;
    if (mapping) {
        UnmapViewOfFile(report);
        CloseHandle(mapping);
    }
    return status;
}

}  // namespace hookbench
