#include "library_binding.h"

#include "app_settings.h"
#include "dialog.h"
#include "resource.h"

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
    if (!library_.Load((fw::ProgramFolder() + L"vitrel.dll").c_str())) {
        fw::ShowMessageBox(fw::ResourceString(IDS_LIBRARY_LOAD_FAILED).c_str(), MB_OK);
        return false;
    }
    start_ = library_.Proc<vitrel::StartFn>("Start");
    end_ = library_.Proc<vitrel::EndFn>("End");
    lockMessage_ = library_.Proc<vitrel::IntFn>("LockMessage");
    setClaroviaValue_ = library_.Proc<vitrel::IntFn>("SetClaroviaValue");
    setMoveTPValue_ = library_.Proc<vitrel::IntFn>("SetMoveTPValue");
    setSizingTPValue_ = library_.Proc<vitrel::IntFn>("SetSizingTPValue");
    setTaskbarTPValue_ = library_.Proc<vitrel::IntFn>("SetTaskbarTPValue");
    setWheelTPValue_ = library_.Proc<vitrel::IntFn>("SetWheelTPValue");
    enableSClickTP_ = library_.Proc<vitrel::IntFn>("EnableSClickTP");
    enableMClickTP_ = library_.Proc<vitrel::IntFn>("EnableMClickTP");
    enableWheelTP_ = library_.Proc<vitrel::IntFn>("EnableWheelTP");
    enableMoveTP_ = library_.Proc<vitrel::IntFn>("EnableMoveTP");
    enableMoveTPLimit_ = library_.Proc<vitrel::IntFn>("EnableMoveTPLimit");
    setMoveTPW_ = library_.Proc<vitrel::IntFn>("SetMoveTPW");
    setMoveTPH_ = library_.Proc<vitrel::IntFn>("SetMoveTPH");
    enableSizingTP_ = library_.Proc<vitrel::IntFn>("EnableSizingTP");
    enableTaskbarTP_ = library_.Proc<vitrel::EnableTaskbarFn>("EnableTaskbarTP");
    enableShadeTP_ = library_.Proc<vitrel::IntFn>("EnableShadeTP");
    shadeRight_ = library_.Proc<vitrel::IntFn>("ShadeRight");
    shadeArea_ = library_.Proc<vitrel::IntFn>("ShadeArea");
    enableStartButtonTextTP_ = library_.Proc<vitrel::IntFn>("EnableStartButtonTextTP");
    enableOverlapTP_ = library_.Proc<vitrel::IntFn>("EnableOverlapTP");
    enableTopmostTP_ = library_.Proc<vitrel::IntFn>("EnableTopmostTP");
    setTransparent_ = library_.Proc<vitrel::SetTransparentFn>("SetTransparent");
    isTransparent_ = library_.Proc<vitrel::WindowFn>("IsTransparent");
    removeTransparent_ = library_.Proc<vitrel::WindowFn>("RemoveTransparent");

    Call(start_, programWindow);
    Call(lockMessage_, 0);
    return true;
}

void CLibraryBinding::Push(const AppSettings& s) const {
    // The level goes in before EnableTaskbarTP, which applies it to the shell.
    Call(enableSClickTP_, s.EnableSClickTP);
    Call(enableMClickTP_, s.EnableMClickTP);
    Call(setClaroviaValue_, s.ClaroviaValue);
    Call(enableWheelTP_, s.EnableWheelTP);
    Call(setWheelTPValue_, s.WheelStep);
    Call(enableMoveTP_, s.EnableMoveTP);
    Call(setMoveTPValue_, s.MoveTPValue);
    Call(enableMoveTPLimit_, s.EnableMoveTPLimit);
    Call(setMoveTPW_, s.MoveTPW);
    Call(setMoveTPH_, s.MoveTPH);
    Call(enableSizingTP_, s.EnableSizingTP);
    Call(setSizingTPValue_, s.SizingTPValue);
    Call(setTaskbarTPValue_, s.TaskbarTPValue);
    Call(enableTaskbarTP_, s.EnableTaskbarTP, s.EnableStartMenuTP);
    Call(enableShadeTP_, s.EnableShadeTP);
    Call(shadeRight_, s.ShadeRight);
    Call(shadeArea_, s.ShadeArea);
    Call(enableStartButtonTextTP_, s.EnableStartButtonTP);
}

void CLibraryBinding::LockMessage(int flag) const { Call(lockMessage_, flag); }
void CLibraryBinding::EnableOverlapTP(int flag) const { Call(enableOverlapTP_, flag); }
void CLibraryBinding::EnableTopmostTP(int flag) const { Call(enableTopmostTP_, flag); }

void CLibraryBinding::Unbind() {
    if (!library_.loaded()) return;
    Call(lockMessage_, 1);
    Call(enableTaskbarTP_, 0, 0);
    Call(end_);
    Call(lockMessage_, 0);
    library_.Free();
}
