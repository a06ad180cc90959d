// The body of every helper process: a control window that takes commands and a
// window procedure that logs what the helper's windows receive.
#pragma once

#include "protocol.h"

namespace rig {

// Runs the helper until a Quit command or WM_QUIT. `setup` runs once the control
// window exists (the fake shell creates its windows there).
int RunWindowHost(void (*setup)());

// Creates a window as the CreateWindow command does (class registered on first use).
HWND HostCreateWindow(const HostCommand& cmd);

}  // namespace rig
