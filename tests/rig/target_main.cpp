// The target-window program: opens windows of any class, size and style on command
// and logs what they receive.
#include "window_host.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) { return rig::RunWindowHost(nullptr); }
