// vitrel.dll loaded at run time and its 26 exports bound by name; the program drives
// the library only through this table.
#pragma once

#include <windows.h>

#include <vector>

#include "library.h"
#include "vitrel_api.h"

namespace app {

class AppSettings;
class CCompanion;

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
    void Push(const AppSettings& s);
    void LockMessage(int flag);
    void EnableOverlapTP(int flag);
    void EnableTopmostTP(int flag);
    void EnableTaskbarTP(int taskbar, int startMenu) const;
    // The gestures' own primitive: makes `window` translucent at `alpha`.
    void SetTransparent(HWND window, int alpha) const;
    // Its other two: `window` opaque again; whether it is layered.
    void RemoveTransparent(HWND window) const;
    bool IsTransparent(HWND window) const;
    // Locks, makes the taskbar opaque, removes the hooks, unlocks, frees the library.
    void Unbind();

    // The library of the other width, through its companion: from here on every lock
    // and setting given to this library goes to it too, in the same order, but for the
    // taskbar's, which this side alone applies.
    void Relay(const CCompanion* companion) { companion_ = companion; }
    // What a companion that is just ready must be told: the lock and the settings as
    // this library has them, in the order they were given.
    void Replay() const;

private:
    // Calls an export that takes one int, and passes the call on.
    void CallInt(vitrel::IntFn fn, int ordinal, int value) const;

    fw::Library library_;
    vitrel::Exports fn_;
    const CCompanion* companion_ = nullptr;
    // What the library was last given.
    int locked_ = 1;
    int overlap_ = 0;
    int topmost_ = 0;
    // The values of the last push, two for each of its steps.
    std::vector<int> pushed_;
};

}  // namespace app
