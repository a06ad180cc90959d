// vitrel.dll loaded into a test: every export bound, the shared record located, and
// the settings put back to the image's initial values (the record outlives a test
// while any process still maps the library).
#pragma once

#include <windows.h>

#include <string>

#include "shared_settings.h"
#include "vitrel_api.h"

namespace rig {

class VitrelLibrary : public vitrel::Exports {
public:
    VitrelLibrary() : VitrelLibrary(std::wstring()) {}
    // The copy at `path` (empty: the one beside the test program). Without `reset` the
    // record is left as it is, now and at the end: for looking at a library that
    // another process drives.
    explicit VitrelLibrary(const std::wstring& path, bool reset = true);
    ~VitrelLibrary();
    VitrelLibrary(const VitrelLibrary&) = delete;
    VitrelLibrary& operator=(const VitrelLibrary&) = delete;

    bool ok() const;
    HMODULE module() const { return module_; }
    volatile SharedSettings& shared() const { return *shared_; }

    // Locks, stops the hooks if they run, and puts every setting and every piece of
    // hook state back to the initial values.
    void Reset();

private:
    HMODULE module_ = nullptr;
    volatile SharedSettings* shared_ = nullptr;
    bool reset_ = true;
};

// Start .. End around a test, with the given program window, unlocked.
class HookSession {
public:
    HookSession(VitrelLibrary& lib, HWND programWindow, bool unlock = true);
    ~HookSession();
    HookSession(const HookSession&) = delete;
    HookSession& operator=(const HookSession&) = delete;

private:
    VitrelLibrary& lib_;
};

}  // namespace rig
