#include "system_version.h"

#include <windows.h>

namespace fw {

bool IsWindowsVersionAtLeast(unsigned major, unsigned minor) {
    // GetVersionEx reports at most 6.2 to a program without a compatibility manifest
    // entry on Windows 8.1 and later: enough for every question asked here.
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return false;
    return info.dwMajorVersion > major || (info.dwMajorVersion == major && info.dwMinorVersion >= minor);
}

}  // namespace fw
