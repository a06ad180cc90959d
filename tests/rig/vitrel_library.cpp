#include "vitrel_library.h"

#include <string>
#include <string_view>

#include "rig.h"

namespace rig {


VitrelLibrary::VitrelLibrary(const std::wstring& path, bool reset) : reset_(reset) {
    module_ = LoadLibraryW((path.empty() ? ProgramDirectory() + L"vitrel.dll" : path).c_str());
    if (!module_) return;
    Bind(module_);
    shared_ = FindSharedRecord(module_);
    if (ok() && reset_) Reset();
}

VitrelLibrary::~VitrelLibrary() {
    if (ok() && reset_) Reset();
    if (module_) FreeLibrary(module_);
}

bool VitrelLibrary::ok() const {
    return module_ && shared_ && Start && End && LockMessage && SetTransparent && RemoveTransparent &&
           IsTransparent && EnableTaskbarTP && ShadeRight;
}

void VitrelLibrary::Reset() {
    // Every field back to the library image's value (the lock stays on all along), but
    // the hooks, the program window and the layered functions: Start, End, the sessions
    // and each process's attach own those.
    const auto owned = [](std::string_view name) {
        return name.ends_with("Hook") || name == "ProgramWindow" || name.ends_with("LayeredFn");
    };
#define VITREL_SHARED_FIELD(type, name, initial) \
    if (!owned(#name)) shared_->name = initial;
    VITREL_SHARED_FIELDS
#undef VITREL_SHARED_FIELD
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
