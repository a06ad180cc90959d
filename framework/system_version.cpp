#include "system_version.h"

#include <windows.h>

namespace fw {

WindowsVersion QueryWindowsVersion() {
    // GetVersionEx reports at most 6.2 to a program without a compatibility manifest
    // entry on Windows 8.1 and later: enough for every question asked here.
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    WindowsVersion v;
    if (!GetVersionExW(&info)) return v;
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    v.platform = info.dwPlatformId;
    v.known = true;
    return v;
}

bool IsWindowsVersionAtLeast(unsigned major, unsigned minor) {
    const WindowsVersion v = QueryWindowsVersion();
    return v.known && (v.major > major || (v.major == major && v.minor >= minor));
}

}  // namespace fw
