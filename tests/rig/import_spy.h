// Replaces one imported function of a loaded module, in this process only, for as
// long as the spy lives. Used where Wine shows no visible effect of a call (a redraw
// of the desktop window does not reach the top-level windows under Wine), so a test
// checks the call itself.
#pragma once

#include <windows.h>

namespace rig {

class ImportSpy {
public:
    ImportSpy(HMODULE module, const char* dll, const char* function, void* replacement);
    ~ImportSpy();
    ImportSpy(const ImportSpy&) = delete;
    ImportSpy& operator=(const ImportSpy&) = delete;

    bool ok() const { return slot_ != nullptr; }
    // The function the module imported before.
    void* original() const { return original_; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

}  // namespace rig
