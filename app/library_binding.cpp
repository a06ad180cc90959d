#include "library_binding.h"

#include "app_settings.h"
#include "companion.h"
#include "dialog.h"
#include "elevation.h"
#include "resource.h"

namespace app {

namespace {
// A missing export leaves a null entry; calling through one does nothing.
template <typename Fn, typename... Args>
void Call(Fn fn, Args... args) {
    if (fn) fn(args...);
}

// The exports' ordinals, by which the companion's library is told which to call.
enum : int {
#define VITREL_EXPORT(name, signature, ordinal) k##name = ordinal,
    VITREL_EXPORTS
#undef VITREL_EXPORT
};
}  // namespace

void CLibraryBinding::CallInt(vitrel::IntFn fn, int ordinal, int value) const {
    Call(fn, value);
    if (companion_) companion_->Call(ordinal, value);
}

bool CLibraryBinding::Bind(HWND programWindow) {
    // By full path from the program's own folder: a bare name would also find a
    // library planted in the current directory.
    const std::wstring path = fw::ProgramFolder() + L"vitrel.dll";
    // Elevated, the program would run with its rights whatever library a program without
    // them had put there (the per-user installation, a portable copy in the profile).
    if (fw::RunsElevated() && fw::ChangeableWithoutElevation(path)) {
        fw::ShowMessageBox(fw::ResourceString(IDS_LIBRARY_UNSAFE_FOLDER).c_str(), MB_OK | MB_ICONSTOP);
        return false;
    }
    if (library_.Load(path.c_str())) fn_.Bind(library_.handle());
    // A file of that name without the two exports every start needs is no library of ours.
    if (!library_.loaded() || !fn_.Start || !fn_.LockMessage) {
        library_.Free();
        fn_ = {};
        fw::ShowMessageBox(fw::ResourceString(IDS_LIBRARY_LOAD_FAILED).c_str(), MB_OK);
        return false;
    }

    Call(fn_.Start, programWindow);
    LockMessage(0);
    return true;
}

namespace {
using E = vitrel::Exports;
using F = SettingsFields;

// One step of the push: a setter and the setting it takes. A step without a setter is
// EnableTaskbarTP, which takes the taskbar's two settings at once.
struct Step {
    vitrel::IntFn E::*setter;
    int F::*value;
    int F::*second;
    int ordinal;
};

// The library's order: every setting at its place of the push (settings_table.h); the
// ones the apply step gives at moments of its own (place 0) are left out.
#define CLAROVIA_COUNT_PLACE(name, initial, low, high, setter, ordinal, field, push, ...) +(push > 0 ? 1 : 0)
#define CLAROVIA_COUNT_TASKBAR(name, initial, field, push, argument) +(argument == 1 ? 1 : 0)
constexpr size_t kPushCount = 0 CLAROVIA_SETTINGS(CLAROVIA_COUNT_PLACE, CLAROVIA_COUNT_PLACE, CLAROVIA_COUNT_TASKBAR,
                                                  CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW);
#undef CLAROVIA_COUNT_PLACE
#undef CLAROVIA_COUNT_TASKBAR

struct PushOrder {
    Step steps[kPushCount];
};
constexpr PushOrder kPush = [] {
    PushOrder order{};
#define CLAROVIA_PLACE(name, initial, low, high, setter, ordinal, field, push, ...) \
    if (push > 0) order.steps[push - 1] = {&E::setter, &F::name, nullptr, ordinal};
#define CLAROVIA_TASKBAR_PLACE(name, initial, field, push, argument) \
    (argument == 1 ? order.steps[push - 1].value : order.steps[push - 1].second) = &F::name;
    CLAROVIA_SETTINGS(CLAROVIA_PLACE, CLAROVIA_PLACE, CLAROVIA_TASKBAR_PLACE, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW,
                      CLAROVIA_NO_ROW, CLAROVIA_NO_ROW)
#undef CLAROVIA_PLACE
#undef CLAROVIA_TASKBAR_PLACE
    return order;
}();
// Places 1 to n, each taken once: a setting with a setter, or the taskbar's two.
constexpr bool EveryPlaceTaken() {
    for (const Step& step : kPush.steps)
        if (!step.value || (!step.setter && !step.second)) return false;
    return true;
}
static_assert(EveryPlaceTaken(), "the places of the push run from 1 without a gap, one setting each");
}  // namespace

void CLibraryBinding::Push(const AppSettings& s) {
    pushed_.clear();
    for (const Step& step : kPush.steps) {
        const int value = s.*step.value, second = step.second ? s.*step.second : 0;
        pushed_.push_back(value);
        pushed_.push_back(second);
        if (step.setter)
            CallInt(fn_.*step.setter, step.ordinal, value);
        else
            Call(fn_.EnableTaskbarTP, value, second);
    }
}

void CLibraryBinding::LockMessage(int flag) {
    locked_ = flag;
    CallInt(fn_.LockMessage, kLockMessage, flag);
}
void CLibraryBinding::EnableOverlapTP(int flag) {
    overlap_ = flag;
    CallInt(fn_.EnableOverlapTP, kEnableOverlapTP, flag);
}
void CLibraryBinding::EnableTopmostTP(int flag) {
    topmost_ = flag;
    CallInt(fn_.EnableTopmostTP, kEnableTopmostTP, flag);
}
void CLibraryBinding::EnableTaskbarTP(int taskbar, int startMenu) const {
    Call(fn_.EnableTaskbarTP, taskbar, startMenu);
}

void CLibraryBinding::Replay() const {
    if (!companion_) return;
    companion_->Call(kLockMessage, locked_);
    if (pushed_.empty()) return;
    size_t i = 0;
    for (const Step& step : kPush.steps) {
        if (step.setter) companion_->Call(step.ordinal, pushed_[i]);
        i += 2;
    }
    companion_->Call(kEnableOverlapTP, overlap_);
    companion_->Call(kEnableTopmostTP, topmost_);
}

void CLibraryBinding::SetTransparent(HWND window, int alpha) const { Call(fn_.SetTransparent, window, alpha); }

void CLibraryBinding::RemoveTransparent(HWND window) const { Call(fn_.RemoveTransparent, window); }

bool CLibraryBinding::IsTransparent(HWND window) const { return fn_.IsTransparent && fn_.IsTransparent(window); }

void CLibraryBinding::Unbind() {
    if (!library_.loaded()) return;
    // The companion gives back its own side as it ends.
    companion_ = nullptr;
    Call(fn_.LockMessage, 1);
    Call(fn_.EnableTaskbarTP, 0, 0);
    Call(fn_.End);
    Call(fn_.LockMessage, 0);
    library_.Free();
}

}  // namespace app
