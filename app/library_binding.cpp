#include "library_binding.h"

#include "app_settings.h"
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
}  // namespace

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
    Call(fn_.LockMessage, 0);
    return true;
}

namespace {
using E = vitrel::Exports;
using F = SettingsFields;

// One step of the push: a setter and the setting it takes, at the setting's place in
// the library's order (settings_table.h). A step without a setter is EnableTaskbarTP,
// which takes the two settings of the taskbar at once.
struct Step {
    int push;
    vitrel::IntFn E::*setter;
    int F::*value;
};

#define CLAROVIA_SETTER_STEP(name, initial, low, high, setter, ordinal, field, push, ...) Step{push, &E::setter, &F::name},
#define CLAROVIA_TASKBAR_STEP(name, initial, field, push, argument) Step{argument == 1 ? push : 0, nullptr, &F::name},
constexpr Step kRows[] = {CLAROVIA_SETTINGS(CLAROVIA_SETTER_STEP, CLAROVIA_SETTER_STEP, CLAROVIA_TASKBAR_STEP,
                                            CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW)};
#undef CLAROVIA_SETTER_STEP
#undef CLAROVIA_TASKBAR_STEP

constexpr size_t kPushCount = [] {
    size_t n = 0;
    for (const Step& row : kRows)
        if (row.push > 0) ++n;
    return n;
}();

// The steps in the library's order; the settings the apply step gives at moments of its
// own (push 0) are left out.
struct PushOrder {
    Step steps[kPushCount];
};
constexpr PushOrder kPush = [] {
    PushOrder order{};
    size_t n = 0;
    for (const Step& row : kRows) {
        if (row.push <= 0) continue;
        size_t at = n++;
        for (; at > 0 && order.steps[at - 1].push > row.push; --at) order.steps[at] = order.steps[at - 1];
        order.steps[at] = row;
    }
    return order;
}();
constexpr bool DistinctPlaces() {
    for (size_t i = 1; i < kPushCount; ++i)
        if (kPush.steps[i - 1].push == kPush.steps[i].push) return false;
    return true;
}
static_assert(DistinctPlaces(), "two settings at one place of the push");

// EnableTaskbarTP's arguments, in their order.
struct TaskbarArguments {
    int F::*taskbar = nullptr;
    int F::*startMenu = nullptr;
};
constexpr TaskbarArguments kTaskbar = [] {
    TaskbarArguments a;
#define CLAROVIA_TASKBAR_FIELD(name, initial, field, push, argument) \
    (argument == 1 ? a.taskbar : a.startMenu) = &F::name;
    CLAROVIA_SETTINGS(CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_TASKBAR_FIELD, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW,
                      CLAROVIA_NO_ROW, CLAROVIA_NO_ROW)
#undef CLAROVIA_TASKBAR_FIELD
    return a;
}();
#define CLAROVIA_TASKBAR_BIT(name, initial, field, push, argument) | (1 << argument)
static_assert((0 CLAROVIA_SETTINGS(CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_TASKBAR_BIT, CLAROVIA_NO_ROW,
                                   CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW)) == 6,
              "EnableTaskbarTP takes two settings");
#undef CLAROVIA_TASKBAR_BIT
}  // namespace

void CLibraryBinding::Push(const AppSettings& s) const {
    for (const Step& step : kPush.steps) {
        if (step.setter)
            Call(fn_.*step.setter, s.*step.value);
        else
            Call(fn_.EnableTaskbarTP, s.*kTaskbar.taskbar, s.*kTaskbar.startMenu);
    }
}

void CLibraryBinding::LockMessage(int flag) const { Call(fn_.LockMessage, flag); }
void CLibraryBinding::EnableOverlapTP(int flag) const { Call(fn_.EnableOverlapTP, flag); }
void CLibraryBinding::EnableTopmostTP(int flag) const { Call(fn_.EnableTopmostTP, flag); }
void CLibraryBinding::EnableTaskbarTP(int taskbar, int startMenu) const {
    Call(fn_.EnableTaskbarTP, taskbar, startMenu);
}

void CLibraryBinding::SetTransparent(HWND window, int alpha) const { Call(fn_.SetTransparent, window, alpha); }

void CLibraryBinding::Unbind() {
    if (!library_.loaded()) return;
    Call(fn_.LockMessage, 1);
    Call(fn_.EnableTaskbarTP, 0, 0);
    Call(fn_.End);
    Call(fn_.LockMessage, 0);
    library_.Free();
}

}  // namespace app
