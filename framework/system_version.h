// The version of Windows the program runs on.
#pragma once

namespace fw {

// Whether Windows is at least major.minor (5.0 Windows 2000, 5.1 XP, 6.1 Windows 7).
bool IsWindowsVersionAtLeast(unsigned major, unsigned minor);

}  // namespace fw
