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
// The values given to the library at every apply, in this order: an export and the
// setting it takes. The level goes in before EnableTaskbarTP, which applies it to the
// shell; the taskbar's export takes two settings and comes between the two parts.
struct Pushed {
    vitrel::IntFn vitrel::Exports::*entry;
    int SettingsFields::*value;
};
using E = vitrel::Exports;
using F = SettingsFields;
constexpr Pushed kBeforeTaskbar[] = {
    {&E::EnableSClickTP, &F::EnableSClickTP}, {&E::EnableMClickTP, &F::EnableMClickTP},
    {&E::SetClaroviaValue, &F::ClaroviaValue}, {&E::EnableWheelTP, &F::EnableWheelTP},
    {&E::SetWheelTPValue, &F::WheelStep},     {&E::EnableMoveTP, &F::EnableMoveTP},
    {&E::SetMoveTPValue, &F::MoveTPValue},     {&E::EnableMoveTPLimit, &F::EnableMoveTPLimit},
    {&E::SetMoveTPW, &F::MoveTPW},             {&E::SetMoveTPH, &F::MoveTPH},
    {&E::EnableSizingTP, &F::EnableSizingTP}, {&E::SetSizingTPValue, &F::SizingTPValue},
    {&E::SetTaskbarTPValue, &F::TaskbarTPValue}};
constexpr Pushed kAfterTaskbar[] = {
    {&E::EnableShadeTP, &F::EnableShadeTP}, {&E::ShadeRight, &F::ShadeRight}, {&E::ShadeArea, &F::ShadeArea},
    {&E::EnableStartButtonTextTP, &F::EnableStartButtonTP}};
}  // namespace

void CLibraryBinding::Push(const AppSettings& s) const {
    for (const Pushed& p : kBeforeTaskbar) Call(fn_.*p.entry, s.*p.value);
    Call(fn_.EnableTaskbarTP, s.EnableTaskbarTP, s.EnableStartMenuTP);
    for (const Pushed& p : kAfterTaskbar) Call(fn_.*p.entry, s.*p.value);
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
