// Elevation and who may change a file: an elevated program must not load code that a
// program of the same user without elevation could have put there, or it hands its
// rights to whoever does.
#pragma once

#include <string>

namespace fw {

// Whether this process runs elevated (from Windows Vista on; never on earlier systems,
// and never under Wine, whose processes all run as one user and share every right).
bool RunsElevated();

// Whether a process of the same user without elevation could change `file`: write it,
// delete or rename it, change its rights, or put another file in its place in its
// folder. False when that cannot be told (no token without elevation).
bool ChangeableWithoutElevation(const std::wstring& file);

}  // namespace fw
