// A library loaded at run time and freed with its owner.
#pragma once

#include <windows.h>

#include <string>

#include "handles.h"

namespace fw {

class Library {
public:
    // Loads by full path; returns false if the library cannot be loaded.
    bool Load(const wchar_t* path) {
        module_.reset(LoadLibraryW(path));
        return static_cast<bool>(module_);
    }
    void Free() { module_.reset(); }
    bool loaded() const { return static_cast<bool>(module_); }
    HMODULE handle() const { return module_.get(); }

    // The export's address as the given function type (null if missing).
    template <typename Fn>
    Fn Proc(const char* name) const {
        if (!module_) return nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_.get(), name)));
    }

private:
    Module module_;
};

// A library of the system folder, loaded at its first use and kept for the life of the
// process (null if it cannot be loaded). For the libraries a run may never need: they
// cost nothing at start-up.
HMODULE SystemLibrary(const wchar_t* name);

// An export of such a library as the given function type (null if missing).
template <typename Fn>
Fn SystemProc(const wchar_t* library, const char* name) {
    const HMODULE module = SystemLibrary(library);
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The full path of the running program's executable.
std::wstring ProgramPath();
// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

}  // namespace fw
