// The version of Windows the program runs on.
#pragma once

namespace fw {

// What GetVersionEx reports.
struct WindowsVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned platform = 0;  // VER_PLATFORM_WIN32_WINDOWS (1) for Windows 95, 98 and Me
    bool known = false;     // false when the query failed
};
WindowsVersion QueryWindowsVersion();

// Whether Windows is at least major.minor (5.0 Windows 2000, 5.1 XP, 6.1 Windows 7).
bool IsWindowsVersionAtLeast(unsigned major, unsigned minor);

}  // namespace fw
