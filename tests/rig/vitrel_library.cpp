#include "vitrel_library.h"

#include <string>

#include "rig.h"

namespace rig {


VitrelLibrary::VitrelLibrary() {
    module_ = LoadLibraryW((ProgramDirectory() + L"vitrel.dll").c_str());
    if (!module_) return;
    Bind(module_);
    shared_ = FindSharedRecord(module_);
    if (ok()) Reset();
}

VitrelLibrary::~VitrelLibrary() {
    if (ok()) Reset();
    if (module_) FreeLibrary(module_);
}

bool VitrelLibrary::ok() const {
    return module_ && shared_ && Start && End && LockMessage && SetTransparent && RemoveTransparent &&
           IsTransparent && EnableTaskbarTP && ShadeRight;
}

void VitrelLibrary::Reset() {
    LockMessage(1);
    SetClaroviaValue(255); SetMoveTPValue(255); SetSizingTPValue(255); SetTaskbarTPValue(255);
    SetWheelTPValue(0); EnableSClickTP(0); EnableMClickTP(0); EnableWheelTP(0); EnableMoveTP(0);
    EnableMoveTPLimit(0); EnableSizingTP(0); SetMoveTPW(500); SetMoveTPH(500); EnableShadeTP(0);
    ShadeRight(0); ShadeArea(1); EnableStartButtonTextTP(0); EnableOverlapTP(0); EnableTopmostTP(0);
    shared_->TaskbarTP = 0;
    shared_->StartMenuTP = 0;
    shared_->WheelLevel = 255;
    shared_->MovingActive = 0;
    shared_->SizingActive = 0;
    shared_->WheelActive = 0;
}

HookSession::HookSession(VitrelLibrary& lib, HWND programWindow, bool unlock) : lib_(lib) {
    lib_.Start(programWindow);
    if (unlock) lib_.LockMessage(0);
}

HookSession::~HookSession() {
    lib_.LockMessage(1);
    lib_.End();
    lib_.shared().ProgramWindow = 0;
}

}  // namespace rig
