// vitrel.dll loaded at run time and its 26 exports bound by name; the program drives
// the library only through this table.
#pragma once

#include <windows.h>

#include "library.h"
#include "vitrel_api.h"

class AppSettings;

class CLibraryBinding {
public:
    CLibraryBinding() = default;
    ~CLibraryBinding() { Unbind(); }
    CLibraryBinding(const CLibraryBinding&) = delete;
    CLibraryBinding& operator=(const CLibraryBinding&) = delete;

    // Loads the library from the program's folder, binds the exports, starts the
    // hooks for `programWindow` and unlocks them. On failure tells the user once.
    bool Bind(HWND programWindow);
    bool bound() const { return library_.loaded(); }

    // Pushes every setting into the library's shared record, in the library's order.
    void Push(const AppSettings& s) const;
    void LockMessage(int flag) const;
    void EnableOverlapTP(int flag) const;
    void EnableTopmostTP(int flag) const;
    // Locks, makes the taskbar opaque, removes the hooks, unlocks, frees the library.
    void Unbind();

private:
    fw::Library library_;
    vitrel::StartFn start_ = nullptr;
    vitrel::EndFn end_ = nullptr;
    vitrel::IntFn lockMessage_ = nullptr, setClaroviaValue_ = nullptr, setMoveTPValue_ = nullptr,
                  setSizingTPValue_ = nullptr, setTaskbarTPValue_ = nullptr, setWheelTPValue_ = nullptr,
                  enableSClickTP_ = nullptr, enableMClickTP_ = nullptr, enableWheelTP_ = nullptr,
                  enableMoveTP_ = nullptr, enableMoveTPLimit_ = nullptr, setMoveTPW_ = nullptr,
                  setMoveTPH_ = nullptr, enableSizingTP_ = nullptr, enableShadeTP_ = nullptr,
                  shadeRight_ = nullptr, shadeArea_ = nullptr, enableStartButtonTextTP_ = nullptr,
                  enableOverlapTP_ = nullptr, enableTopmostTP_ = nullptr;
    vitrel::EnableTaskbarFn enableTaskbarTP_ = nullptr;
    vitrel::SetTransparentFn setTransparent_ = nullptr;
    vitrel::WindowFn isTransparent_ = nullptr, removeTransparent_ = nullptr;
};
