// vitrel.dll loaded at run time and its 26 exports bound by name; the program drives
// the library only through this table.
#pragma once

#include <windows.h>

#include "library.h"
#include "vitrel_api.h"

namespace app {

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
    void EnableTaskbarTP(int taskbar, int startMenu) const;
    // The gestures' own primitive: makes `window` translucent at `alpha`.
    void SetTransparent(HWND window, int alpha) const;
    // Locks, makes the taskbar opaque, removes the hooks, unlocks, frees the library.
    void Unbind();

private:
    fw::Library library_;
    vitrel::Exports fn_;
};

}  // namespace app
