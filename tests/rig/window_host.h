// The body of every helper process: a control window that takes commands and a
// window procedure that logs what the helper's windows receive.
#pragma once

#include "protocol.h"

namespace rig {

// Commands beyond the common ones (the fake shell's); 0 for a command it does not know.
using ExtraCommands = LRESULT (*)(Command command, const HostCommand& cmd);

// Runs the helper until a Quit command or WM_QUIT. `setup` runs before the control
// window exists; `extra` takes the commands the host itself does not know.
int RunWindowHost(void (*setup)(), ExtraCommands extra = nullptr);

// Logs what a control of a system class receives (subclassed), like the host's windows.
void LogControl(HWND control);

// Creates a window as the CreateWindow command does (class registered on first use).
HWND HostCreateWindow(const HostCommand& cmd);

}  // namespace rig
