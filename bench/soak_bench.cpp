// The soak: thousands of real-input gestures on windows of several helper processes,
// the program running throughout. Windows are destroyed and made anew as it goes, and
// now and then a whole helper process ends and another takes its place.
//
// Each gesture is one whose effect can be seen from outside, checked against a model
// of every window (opaque or its alpha, rolled up or not) and of the wheel's stepping:
//   middle click on the title bar   translucency toggles (opaque <-> ClaroviaValue)
//   wheel on the title bar          opaque -> 255; then steps of WheelStep, past 255 opaque
//   double-click on the title bar   rolled up <-> down (left half: ShadeArea 1)
//   right click on the title bar    rolled up <-> down
//   drag by the title bar           translucent at MoveTPValue while moved, opaque after
// A gesture whose effect does not show within 2 s is lost (and the model takes the
// window as it is). The program's private bytes and handles are sampled every 1000
// gestures: flat means less than 5 % growth from the first sample to the last.
//
// Summary: soak <G> gestures <L> lost.
#include <windows.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_common.h"
#include "program.h"
#include "program_probe.h"
#include "rig.h"
#include "tray_recorder.h"
#include "vitrel_api.h"

namespace bench {

namespace {

constexpr int kHosts = 3;
constexpr int kSlots = 6;
constexpr int kWidth = 300, kHeight = 200;
constexpr int kClickLevel = 190;  // ClaroviaValue and MoveTPValue by default
constexpr int kMoveLevel = 190;
constexpr int kStep = 5;          // WheelStep by default
constexpr DWORD kEffectMs = 2000;
constexpr int kDragPixels = 20;
constexpr int kReplaceEvery = 250;    // gestures between two windows made anew
constexpr int kSampleEvery = 1000;    // gestures between two samples; a helper restarts too
constexpr double kFlatGoal = 0.05;
// --short: at most one gesture in this many lost.
constexpr int kShortLostShare = 20;
// Helpers started again after a window or a helper went away: more and the run stops.
constexpr int kMaxRestarts = 5;

enum class Gesture { Middle, WheelDown, WheelUp, DoubleClick, RightClick, Drag };

const char* Name(Gesture g) {
    switch (g) {
    case Gesture::Middle: return "middle click";
    case Gesture::WheelDown: return "wheel down";
    case Gesture::WheelUp: return "wheel up";
    case Gesture::DoubleClick: return "double-click";
    case Gesture::RightClick: return "right click";
    default: return "drag";
    }
}

struct Slot {
    int host = 0;
    HWND window = nullptr;
    int alpha = -1;  // -1: opaque
    bool shaded = false;
    int nextX = 0;   // rotates the click point along the title bar
    int dragSign = 1;
    bool saidGone = false;
};

bool ProcessRunning(DWORD pid) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

int Alpha(HWND window) { return rig::IsLayered(window) ? rig::LayeredAlpha(window) : -1; }
bool Shaded(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return client.bottom == 0;
}

// The program in a folder laid out as the x64 package is, with the 32-bit companion of
// the i686 build beside it ("" if there is none, or it cannot be made).
std::wstring WithCompanion(const rig::TempFolder& folder) {
    const std::wstring from = rig::OtherWidthFolder();
    const bool made = !from.empty() && folder.CopyFromProgramDirectory(rig::kProgramExe) &&
                      folder.CopyFromProgramDirectory(L"vitrel.dll") &&
                      folder.CopyIn(from + L"Clarovia32.exe", L"x86\\Clarovia32.exe") &&
                      folder.CopyIn(from + L"vitrel.dll", L"x86\\vitrel32.dll");
    return made ? folder.path() : std::wstring();
}

class Soak {
public:
    // `narrow`: the windows are of 32-bit helpers, served by the program's companion.
    Soak(int gestures, unsigned seed, bool strict, bool narrow)
        : gestures_(gestures), random_(seed), strict_(strict), narrow_(narrow),
          name_(narrow ? "soak-32" : "soak"), folderPath_(narrow ? WithCompanion(folder_) : std::wstring()),
          program_(folderPath_) {}

    int Run() {
        QuietSettings();
        if (narrow_ && folderPath_.empty())
            return SetUpFailed("no folder with the 32-bit companion could be made");
        for (auto& host : hosts_) host = MakeHost();
        for (int i = 0; i < kSlots; ++i) slots_[i].host = i % kHosts;
        for (int i = 0; i < kSlots; ++i)
            if (!MakeWindow(i)) return SetUpFailed("a window of the helpers could not be made");
        if (!tray_.ok()) return SetUpFailed("the stand-in for the notification area could not be made");
        if (!program_.Run()) return SetUpFailed("Clarovia.exe did not come up");
        // The companion's hooks set and its library told the settings: its window is
        // there, and the program has taken what it posted (and answered it).
        if (narrow_ && (!rig::WaitFor([] {
                           return rig::CompanionPids().size() == 1 &&
                                  FindWindowExW(HWND_MESSAGE, nullptr, L"Clarovia32 Companion", nullptr);
                       }, 10000) ||
                        !probe_.ok()))
            return SetUpFailed("the companion did not come up");
        // The program's thread, watched for the reports it takes (the gestures' trace).
        if (!probe_.ok() || !probe_.Attach(program_.threadId())) return SetUpFailed("the probe could not be attached");

        std::vector<ProcessCost> samples{CostOf(program_.process())};
        const double start = Now();
        for (int done = 1; done <= gestures_; ++done) {
            if (!One(done)) return SetUpFailed("the helpers could not be started again");
            if (done % kReplaceEvery == 0 && !MakeWindow(Pick(kSlots)) && !Recover(done, "a window could not be made anew"))
                return SetUpFailed("the helpers could not be started again");
            if (done % kSampleEvery == 0) {
                samples.push_back(CostOf(program_.process()));
                std::printf("%s: %d gestures, %d lost, %.0f s; program: %zu KB private, %lu handles\n", name_, done, lost_,
                            Now() - start, size_t{samples.back().privateBytes / 1024}, samples.back().handles);
                std::fflush(stdout);
                if (done < gestures_ && !RestartHost(Pick(kHosts)) && !Recover(done, "a helper could not be restarted"))
                    return SetUpFailed("the helpers could not be started again");
            }
        }
        samples.push_back(CostOf(program_.process()));

        // Everyone alive at the end, and the program answering.
        bool alive = program_.running();
        DWORD_PTR answer = 0;
        alive = alive && SendMessageTimeoutW(program_.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
        for (auto& host : hosts_) alive = alive && host->ok() && ProcessRunning(host->pid());
        for (const Slot& slot : slots_) alive = alive && IsWindow(slot.window);
        const bool ended = program_.Exit() && program_.exitCode() == 0;
        rig::settings::Erase();

        // Growth from the first sample after a thousand gestures to the last.
        const ProcessCost& first = samples.size() > 2 ? samples[1] : samples.front();
        const ProcessCost& last = samples.back();
        const double memoryGrowth = Growth(first.privateBytes, last.privateBytes);
        const double handleGrowth = Growth(first.handles, last.handles);
        std::printf("%s: %d gestures in %.1f s, %d lost (%s); lost where: %s; %d wheel gesture(s) skipped, their "
                    "window not made active; %d helper restart(s); %d window(s) found maximised, %d moved or widened; program private bytes %+.1f %%, handles %+.1f %%; "
                    "everyone alive at the end: %s; program ended by its command: %s\n", name_,
                    gestures_, Now() - start, lost_, Counts().c_str(), Stops().c_str(), skipped_, restarts_, maximised_, outOfPlace_,
                    100 * memoryGrowth, 100 * handleGrowth, alive ? "yes" : "NO", ended ? "yes" : "NO");
        std::fflush(stdout);
        Summary("%s %d gestures %d lost", name_, gestures_, lost_);
        // A short run (CTest) on a loaded machine may lose a gesture now and then to
        // Wine's input delivery; it holds the rest, and a loss rate far above the full
        // run's.
        const bool fewLost = strict_ ? lost_ == 0 : lost_ * kShortLostShare <= gestures_;
        return fewLost && alive && ended && memoryGrowth < kFlatGoal && handleGrowth < kFlatGoal ? 0 : 1;
    }

private:
    int SetUpFailed(const char* what) {
        std::printf("%s: set-up failed: %s\n", name_, what);
        rig::settings::Erase();
        return 2;
    }

    // Every helper starts again, with new windows; whether the run can go on.
    bool Recover(int done, const char* why) {
        std::printf("%s: gesture %d: %s; the helpers start again\n", name_, done, why);
        std::fflush(stdout);
        if (++restarts_ > kMaxRestarts) return false;
        for (int host = 0; host < kHosts; ++host)
            if (!RestartHost(host)) return false;
        return true;
    }

    // A gesture that left its window maximised, moved or widened says what the window's thread saw of it:
    // a double-click its window procedure got (not swallowed by the hook), the system
    // commands it carried out. The window is put back.
    void SayIfOutOfPlace(int done, Gesture gesture, int index) {
        const HWND w = slots_[index].window;
        const RECT rc = rig::WindowRect(w);
        if (!IsZoomed(w)) {
            // Drags go 20 px one way and back; more, or a wider window, covers a neighbour.
            const POINT home = Home(index);
            if (!IsWindow(w) || (rc.top == home.y && std::abs(rc.left - home.x) <= 2 * kDragPixels &&
                                 rc.right - rc.left == kWidth))
                return;
            // Wine's move loop now and then carries a dragged window further than the
            // pointer went: put back without a word. Any other gesture is said.
            if (gesture != Gesture::Drag) {
                std::printf("%s: gesture %d (%s on window %d) left it at (%ld,%ld)-(%ld,%ld), its place is "
                            "(%ld,%ld) %dx%d; put back\n", name_,
                            done, Name(gesture), index, rc.left, rc.top, rc.right, rc.bottom, home.x, home.y, kWidth,
                            kHeight);
                ++outOfPlace_;
            }
            SetWindowPos(w, nullptr, home.x, home.y, kWidth, slots_[index].shaded ? rc.bottom - rc.top : kHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
        const rig::HostProcess& host = *hosts_[slots_[index].host];
        std::string commands;
        for (const rig::LogEntry& e : host.Log(w, WM_SYSCOMMAND)) {
            char text[16];
            std::snprintf(text, sizeof text, " 0x%04lx", static_cast<unsigned long>(e.wParam & 0xFFF0));
            commands += text;
        }
        std::printf("%s: gesture %d (%s on window %d) left it maximised: the window's thread %s the double-click, "
                    "its window procedure %s it; %s the report; system commands:%s\n", name_,
                    done, Name(gesture), index, host.Retrieved(w, WM_NCLBUTTONDBLCLK).empty() ? "did not retrieve" : "took",
                    host.Log(w, WM_NCLBUTTONDBLCLK).empty() ? "did not get" : "got",
                    probe_.Messages(program_.window(), WM_SHADE_DBLCLK).empty() ? "the program did not take" : "the program took",
                    commands.empty() ? " none" : commands.c_str());
        RestoreMaximised(done);
    }

    // No gesture maximises a window; one found maximised (by a double-click that reached
    // it) would cover the others and make their gestures lost: said, and put back.
    void RestoreMaximised(int done) {
        for (int i = 0; i < kSlots; ++i) {
            const HWND w = slots_[i].window;
            if (!IsWindow(w) || !IsZoomed(w)) continue;
            ++maximised_;
            std::printf("%s: gesture %d: window %d found maximised; restored\n", name_, done, i);
            ShowWindowAsync(w, SW_RESTORE);
            rig::WaitFor([&] { return !IsZoomed(w); }, kEffectMs);
        }
    }

    // Why a window of a slot is gone: its helper ended, or something in it destroyed it.
    std::string Vanished(const Slot& slot) const {
        const rig::HostProcess& host = *hosts_[slot.host];
        if (!host.Alive()) {
            char text[96];
            std::snprintf(text, sizeof text, "its helper ended with exit code 0x%lx", host.ExitCode());
            return text;
        }
        for (const rig::LogEntry& e : host.Log(slot.window))
            if (e.message == WM_CLOSE || (e.message == WM_SYSCOMMAND && (e.wParam & 0xFFF0) == SC_CLOSE))
                return "its helper is alive; the window was closed (" +
                       std::string(e.message == WM_CLOSE ? "WM_CLOSE" : "SC_CLOSE") + ")";
        return "its helper is alive; the window was destroyed without being closed";
    }

    // Where the lost gestures stopped, by stage.
    std::string Stops() const {
        std::string text;
        for (int s = 0; s < kStages; ++s) {
            if (!text.empty()) text += ", ";
            text += std::to_string(stoppedAt_[s]) + " " + kStageNames[s];
        }
        return text;
    }

    static double Growth(double first, double last) { return first > 0 ? (last - first) / first : 0; }

    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    std::string Counts() const {
        std::string text;
        for (int g = 0; g < 6; ++g) {
            if (!text.empty()) text += ", ";
            text += std::to_string(lostBy_[g]) + " of " + std::to_string(doneBy_[g]) + " " + Name(Gesture(g));
        }
        return text;
    }

    static POINT Home(int index) { return {20 + (index % 3) * 330, 40 + (index / 3) * 300}; }

    // The slot's window, made anew in its helper (the old one destroyed).
    bool MakeWindow(int index) {
        Slot& slot = slots_[index];
        rig::HostProcess& host = *hosts_[slot.host];
        if (slot.window && IsWindow(slot.window)) host.Destroy(slot.window);
        const POINT home = Home(index);
        rig::WindowSpec layout = rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, home.x, home.y, kWidth, kHeight);
        layout.title = L"Soak " + std::to_wstring(index);
        slot.window = host.Create(layout);
        slot.alpha = -1;
        slot.shaded = false;
        slot.saidGone = false;
        if (wheelWindow_ == index) wheelWindow_ = -1;
        host.ClearLog();
        return slot.window != nullptr;
    }

    // A helper process ends (its windows with it) and a new one takes its slots.
    bool RestartHost(int host) {
        for (Slot& slot : slots_)
            if (slot.host == host) slot.window = nullptr;
        hosts_[host] = MakeHost();
        if (!hosts_[host]->ok()) return false;
        for (int i = 0; i < kSlots; ++i)
            if (slots_[i].host == host && !MakeWindow(i)) return false;
        return true;
    }

    // The wheel acts on the active window only. Under Wine a focus change that the X
    // server reports late (from an earlier click elsewhere) can take the activation
    // back after SetForegroundWindow has returned: once the window is active, the
    // thread of the window that was active before and the window's own thread each
    // answer a message (taking in what the X server still had for them), and the
    // window must still be the active one.
    static bool ActivateSteadily(HWND w) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const HWND before = GetForegroundWindow();
            if (before != w && !rig::Activate(w)) return false;
            DWORD_PTR ignored = 0;
            if (before && before != w)
                SendMessageTimeoutW(before, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kEffectMs, &ignored);
            SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kEffectMs, &ignored);
            if (GetForegroundWindow() == w) return true;
        }
        return false;
    }

    POINT TitlePoint(Slot& slot) {
        // Left half (shading's area), clear of the icon, never twice in a row at the
        // same place (no accidental double-clicks).
        static constexpr int kOffsets[] = {40, 70, 100, 55, 85, 115, 45, 75};
        slot.nextX = (slot.nextX + 1) % static_cast<int>(std::size(kOffsets));
        return rig::CaptionPoint(slot.window, kOffsets[slot.nextX]);
    }

    Gesture Choose(const Slot& slot, int index) {
        for (;;) {
            const int roll = Pick(100);
            if (roll < 25) return Gesture::Middle;
            if (roll < 50) {
                // The wheel only where its effect shows: an opaque window, or the one
                // being stepped.
                if (slot.alpha < 0) return Gesture::WheelDown;
                if (wheelWindow_ == index) return Pick(2) ? Gesture::WheelDown : Gesture::WheelUp;
                continue;
            }
            if (roll < 65) return Gesture::DoubleClick;
            if (roll < 80) return Gesture::RightClick;
            if (slot.alpha < 0 && !slot.shaded) return Gesture::Drag;
        }
    }

    bool Wait(const std::function<bool()>& condition) { return rig::WaitFor(condition, kEffectMs); }

    // One gesture on a window chosen at random; false only when the rig fails.
    bool One(int done) {
        // Now and then the window the wheel is stepping again, so that it steps on.
        const int index = wheelWindow_ >= 0 && Pick(3) == 0 ? wheelWindow_ : Pick(kSlots);
        Slot& slot = slots_[index];
        if (!IsWindow(slot.window)) {
            const std::string why = "window " + std::to_string(index) + " is gone: " + Vanished(slot);
            return Recover(done, why.c_str());
        }
        RestoreMaximised(done);
        hosts_[slot.host]->ClearLog();
        probe_.Clear();
        const Gesture gesture = Choose(slot, index);
        const POINT pt = TitlePoint(slot);
        const HWND w = slot.window;
        bool seen = false;
        switch (gesture) {
        case Gesture::Middle: {
            const int expected = slot.alpha < 0 ? kClickLevel : -1;
            rig::MiddleClick(pt.x, pt.y);
            seen = Wait([&] { return Alpha(w) == expected; });
            slot.alpha = expected;
            wheelWindow_ = -1;
            break;
        }
        case Gesture::WheelDown:
        case Gesture::WheelUp: {
            if (!ActivateSteadily(w)) {
                // Not the program's doing: the system did not give the window the
                // activation the wheel needs.
                ++skipped_;
                wchar_t title[64] = {};
                GetWindowTextW(GetForegroundWindow(), title, 64);
                std::printf("%s: gesture %d (%s on window %d) skipped: the window could not be made active "
                            "(active: \"%ls\")\n", name_, done, Name(gesture), index, title);
                wheelWindow_ = -1;
                return true;
            }
            const bool down = gesture == Gesture::WheelDown;
            int expected = slot.alpha < 0 ? 255 : slot.alpha + (down ? -kStep : kStep);
            if (expected < 10) expected = 10;
            if (expected > 255) expected = -1;
            rig::Wheel(pt.x, pt.y, down ? -WHEEL_DELTA : WHEEL_DELTA);
            seen = Wait([&] { return Alpha(w) == expected; });
            slot.alpha = expected;
            wheelWindow_ = expected < 0 ? -1 : index;
            break;
        }
        case Gesture::DoubleClick:
        case Gesture::RightClick: {
            const bool expected = !slot.shaded;
            if (gesture == Gesture::DoubleClick)
                rig::DoubleClick(pt.x, pt.y);
            else
                rig::RightClick(pt.x, pt.y);
            seen = Wait([&] { return Shaded(w) == expected && (expected || rig::WindowHeight(w) == kHeight); });
            slot.shaded = expected;
            // A left press ends the wheel's stepping.
            if (gesture == Gesture::DoubleClick) wheelWindow_ = -1;
            break;
        }
        case Gesture::Drag: {
            // The move loop runs in the window's thread: its start and its end are
            // waited for in the helper's log, so that no later input falls into it.
            rig::HostProcess& host = *hosts_[slot.host];
            host.ClearLog();
            const RECT before = rig::WindowRect(w);
            // The pointer first rests on the title bar.
            rig::MoveMouse(pt.x, pt.y);
            rig::WaitFor([&] {
                POINT at;
                return GetCursorPos(&at) && at.x == pt.x && at.y == pt.y;
            }, kEffectMs);
            rig::LeftDown(pt.x, pt.y);
            int step = 0;
            const bool moving = Wait([&] {
                if (!host.Log(w, WM_MOVING).empty()) return true;
                // Along the title bar by 20 px at most, one way or the other from drag
                // to drag, so that windows stay where they are; the pointer keeps moving.
                ++step;
                const int dx = step * 4 < kDragPixels ? step * 4 : kDragPixels + step % 2;
                rig::MoveMouse(pt.x + slot.dragSign * dx, pt.y);
                return false;
            });
            const bool translucent = moving && Wait([&] { return Alpha(w) == kMoveLevel; });
            // Wine's move loop takes its origin from where the pointer is when the loop
            // starts, which may be after the last step: the pointer goes on by a pixel at
            // a time, never back to where it was, until the window has followed it.
            int nudge = 0;
            if (moving)
                Wait([&] {
                    if (rig::WindowRect(w).left != before.left) return true;
                    if (nudge < kDragPixels) ++nudge;
                    rig::MoveMouse(pt.x + slot.dragSign * (kDragPixels + nudge), pt.y);
                    return false;
                });
            POINT end;
            GetCursorPos(&end);
            rig::LeftUp(end.x, end.y);
            const bool ended = !moving || rig::WaitReceived(host, w, WM_EXITSIZEMOVE, 1, kEffectMs);
            seen = translucent && ended &&
                   Wait([&] { return Alpha(w) == -1 && rig::WindowRect(w).left != before.left; });
            dragTrace_ = std::string(moving ? "; the move loop started" : "; no move loop started") +
                         (translucent ? ", the window turned translucent"
                                      : ", the window did not turn translucent (alpha " + std::to_string(Alpha(w)) + ")") +
                         (!moving ? "" : ended ? ", the loop ended" : ", the loop did not end") +
                         (Alpha(w) == -1 ? ", opaque after" : ", still translucent after") +
                         (rig::WindowRect(w).left != before.left ? ", moved" : ", not moved");
            // Wine's move loop now and then starts from where the pointer was seen
            // before the press and carries the window far off: back to its place, so
            // that windows never come to overlap.
            const RECT after = rig::WindowRect(w);
            if (after.top != before.top || std::abs(after.left - before.left) > 2 * kDragPixels)
                SetWindowPos(w, nullptr, before.left, before.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            slot.dragSign = -slot.dragSign;
            slot.alpha = -1;
            wheelWindow_ = -1;
            break;
        }
        }
        ++doneBy_[static_cast<int>(gesture)];
        SayIfOutOfPlace(done, gesture, index);
        // A window that went away with this gesture is said now, while its helper's log
        // still holds what closed it; the next gesture on it starts the helpers again.
        for (int k = 0; k < kSlots; ++k)
            if (slots_[k].window && !IsWindow(slots_[k].window) && !slots_[k].saidGone) {
                slots_[k].saidGone = true;
                std::printf("%s: gesture %d (%s on window %d): window %d went away: %s\n", name_, done, Name(gesture), index, k,
                            Vanished(slots_[k]).c_str());
            }
        if (!seen) {
            ++lost_;
            ++lostBy_[static_cast<int>(gesture)];
            const HWND under = GetAncestor(WindowFromPoint(pt), GA_ROOT);
            wchar_t cls[64] = {};
            GetClassNameW(under, cls, 64);
            // Whether the input reached the window at all, and what was active.
            std::string seenBy;
            if (gesture == Gesture::WheelDown || gesture == Gesture::WheelUp) {
                const auto wheels = hosts_[slot.host]->Log(w, WM_MOUSEWHEEL);
                seenBy = wheels.empty() ? "; the window took no wheel message"
                                        : "; the window's last wheel message had delta " +
                                              std::to_string(static_cast<short>(HIWORD(wheels.back().wParam)));
            }
            const Stage stage = StoppedAt(gesture, slot);
            ++stoppedAt_[stage];
            std::printf("%s: gesture %d (%s on window %d) lost: alpha %d, %s; under the pointer %ls%s; %s%s; "
                        "trace: %s\n", name_,
                        done, Name(gesture), index, Alpha(w), Shaded(w) ? "rolled up" : "down",
                        under == w ? L"the window" : cls, IsZoomed(w) ? ", maximised" : "",
                        GetForegroundWindow() == w ? "active" : "not active", seenBy.c_str(), Trace(gesture, slot).c_str());

            // Take the window as it is.
            slot.alpha = Alpha(w);
            slot.shaded = Shaded(w);
            wheelWindow_ = -1;
        }
        return true;
    }

    // The input each gesture sends, as the window's thread retrieves it.
    static UINT InputOf(Gesture g) {
        switch (g) {
        case Gesture::Middle: return WM_NCMBUTTONDOWN;
        case Gesture::WheelDown:
        case Gesture::WheelUp: return WM_MOUSEWHEEL;
        case Gesture::DoubleClick: return WM_NCLBUTTONDBLCLK;
        case Gesture::RightClick: return WM_NCRBUTTONDOWN;
        default: return WM_NCLBUTTONDOWN;
        }
    }
    // The report the library posts to the program for it (0: the hook acts itself).
    static UINT ReportOf(Gesture g) {
        if (g == Gesture::DoubleClick) return WM_SHADE_DBLCLK;
        return g == Gesture::RightClick ? static_cast<UINT>(WM_SHADE_RCLICK) : 0u;
    }

    // Whether the program took a report of `report` that names `window`.
    bool ReportedFor(UINT report, HWND window) const {
        for (const rig::ProbeMessage& m : probe_.Messages(program_.window(), report))
            if (m.lParam == reinterpret_cast<uintptr_t>(window)) return true;
        return false;
    }

    // The stages of a gesture, in order: where a lost one stopped.
    enum Stage { kNotRetrieved, kNotReported, kNotActedOn, kWindowUnchanged, kStages };
    static constexpr const char* kStageNames[kStages] = {
        "before the window's thread took the input", "in the library (no report)",
        "in the program (report taken, no change asked)", "at the window (asked, not changed)"};

    Stage StoppedAt(Gesture gesture, const Slot& slot) const {
        const rig::HostProcess& host = *hosts_[slot.host];
        const UINT report = ReportOf(gesture);
        // A press the hook swallowed after reporting it is never retrieved: the report
        // tells that the window's thread took it.
        const bool reported = report && ReportedFor(report, slot.window);
        if (!reported && host.Retrieved(slot.window, InputOf(gesture)).empty()) return kNotRetrieved;
        if (!report) return kWindowUnchanged;  // the hook acts in the window's own thread
        if (!reported) return kNotReported;
        // Shading moves the window: a move asked for shows in the window's log.
        if (host.Log(slot.window, WM_WINDOWPOSCHANGED).empty()) return kNotActedOn;
        return kWindowUnchanged;
    }

    // What each stage saw: the input sent, the window's thread took it, its window
    // procedure got it (or the hook swallowed it), the report the program took.
    std::string Trace(Gesture gesture, const Slot& slot) const {
        const rig::HostProcess& host = *hosts_[slot.host];
        const UINT input = InputOf(gesture);
        std::string t = "input sent; the window's thread ";
        t += host.Retrieved(slot.window, input).empty() ? "retrieved nothing of it (none, or swallowed by a hook)"
                                                        : "took it";
        t += host.Log(slot.window, input).empty() ? ", its window procedure did not get it"
                                                  : ", its window procedure got it";
        if (gesture == Gesture::Drag) t += dragTrace_;
        if (const UINT report = ReportOf(gesture)) {
            t += ReportedFor(report, slot.window) ? "; the program took the report" : "; no report for it reached the program";
            t += host.Log(slot.window, WM_WINDOWPOSCHANGED).empty() ? "; the window was not moved"
                                                                    : "; the window was moved";
        }
        return t;
    }

    std::unique_ptr<rig::HostProcess> MakeHost() const {
        return narrow_ ? std::make_unique<rig::HostProcess>(rig::OtherWidthFolder(), L"rig_target.exe")
                       : std::make_unique<rig::HostProcess>();
    }

    int gestures_;
    std::mt19937 random_;
    bool strict_;
    bool narrow_;
    const char* name_;
    rig::TempFolder folder_{L"-soak"};
    std::wstring folderPath_;
    rig::TrayRecorder tray_;
    rig::Program program_;
    rig::ProgramProbe probe_;
    std::array<std::unique_ptr<rig::HostProcess>, kHosts> hosts_;
    std::array<Slot, kSlots> slots_;
    int wheelWindow_ = -1;  // the slot whose window the wheel is stepping
    int lost_ = 0;
    int skipped_ = 0;
    int restarts_ = 0;
    int maximised_ = 0;
    int outOfPlace_ = 0;
    std::string dragTrace_;  // what the last drag's stages saw
    std::array<int, kStages> stoppedAt_ = {};
    std::array<int, 6> doneBy_ = {}, lostBy_ = {};
};

}  // namespace

int RunSoak(int gestures, unsigned seed, bool strict, bool narrow) {
    return Soak(gestures, seed, strict, narrow).Run();
}

}  // namespace bench
