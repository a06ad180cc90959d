#include "companion.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "companion_protocol.h"
#include "elevation.h"
#include "library.h"
#include "resource.h"
#include "window_util.h"

namespace app {

namespace {
// Pauses before a start after an end: 1 s, then twice as long each time while the ends
// come quickly, and never more than four starts a minute.
constexpr DWORD kFirstPause = 1000;
constexpr DWORD kMinute = 60000;
constexpr DWORD kStopWait = 2000;

VOID CALLBACK OnProcessEnded(PVOID context, BOOLEAN) {
    PostMessageW(static_cast<HWND>(context), companion::WM_COMPANION_ENDED, 0, 0);
}

UINT ProblemOfExit(DWORD code) {
    switch (code) {
    case companion::kExitNoLibrary:
        return IDS_COMPANION_NO_LIBRARY;
    case companion::kExitRefused:
        return IDS_COMPANION_REFUSED;
    case companion::kExitBadCommand:
    case companion::kExitNoWindow:
        return IDS_COMPANION_DAMAGED;
    default:
        return 0;
    }
}
}  // namespace

void CCompanion::Start(HWND programWindow, UINT_PTR retryTimer) {
    if (!kServesOtherWidth) return;
    programWindow_ = programWindow;
    retryTimer_ = retryTimer;
    stopping_ = false;
    Launch();
}

bool CCompanion::Launch() {
    if (process_ || stopping_ || !programWindow_) return false;
    const std::wstring folder = fw::ProgramFolder() + companion::kFolder;
    const std::wstring exe = folder + companion::kExe;
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
        problem_ = IDS_COMPANION_MISSING;
        return false;
    }
    // Elevated, it would run with the program's rights whatever a program without them
    // had put in its place.
    if (fw::RunsElevated() && fw::ChangeableWithoutElevation(exe)) {
        problem_ = IDS_COMPANION_REFUSED;
        return false;
    }
    wchar_t arguments[64];
    wsprintfW(arguments, L"\"%s\" %lu %lu", companion::kExe,
              static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(programWindow_) & 0xFFFFFFFFu),
              static_cast<unsigned long>(GetCurrentProcessId()));
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), arguments, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, folder.c_str(),
                        &si, &pi)) {
        const DWORD error = GetLastError();
        problem_ = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? IDS_COMPANION_MISSING
                                                                                 : IDS_COMPANION_DAMAGED;
        return false;
    }
    CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    pid_ = pi.dwProcessId;
    starts_[startCount_++ % std::size(starts_)] = GetTickCount();
    Watch();
    return true;
}

void CCompanion::Watch() {
    if (!RegisterWaitForSingleObject(&wait_, process_.get(), OnProcessEnded, programWindow_, INFINITE,
                                     WT_EXECUTEONLYONCE))
        wait_ = nullptr;
}

void CCompanion::Unwatch() {
    // Waits for a callback under way: it must not outlive what it posts to.
    if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    wait_ = nullptr;
}

void CCompanion::Forget() {
    Unwatch();
    process_.reset();
    pid_ = 0;
    window_ = nullptr;
}

bool CCompanion::OnReady(HWND companionWindow) {
    // A late report of one that has ended since, or of one not started by us.
    if (!process_ || fw::ProcessOf(companionWindow) != pid_) return false;
    window_ = companionWindow;
    problem_ = 0;
    return true;
}

void CCompanion::OnEnded() {
    if (!process_ || WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) return;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    Forget();
    if (stopping_) return;
    if (const UINT problem = ProblemOfExit(code)) {
        problem_ = problem;
        return;
    }
    // Another companion serves this program: nothing to do (there is none of ours).
    if (code == companion::kExitDuplicate) return;
    // A crash or a kill: again, after a pause that doubles while the ends come quickly,
    // and at most as many starts a minute as starts_ holds.
    const DWORD now = GetTickCount();
    unsigned recent = 0;
    DWORD oldest = now;
    for (unsigned i = 0; i < std::size(starts_) && i < startCount_; ++i) {
        if (now - starts_[i] < kMinute) {
            ++recent;
            if (now - starts_[i] > now - oldest) oldest = starts_[i];
        }
    }
    DWORD pause = kFirstPause << (recent > 0 ? recent - 1 : 0);
    if (recent >= std::size(starts_)) pause = std::max(pause, kMinute - (now - oldest));
    SetTimer(programWindow_, retryTimer_, pause, nullptr);
}

void CCompanion::OnRetryTimer() {
    KillTimer(programWindow_, retryTimer_);
    Launch();
}

void CCompanion::OnTaskbarCreated() {
    if (!kServesOtherWidth || !programWindow_ || process_ || stopping_) return;
    KillTimer(programWindow_, retryTimer_);
    Launch();
}

void CCompanion::Call(int ordinal, int value) const {
    if (window_) PostMessageW(window_, companion::WM_COMPANION_CALL, static_cast<WPARAM>(ordinal), value);
}

void CCompanion::Stop() {
    stopping_ = true;
    if (programWindow_) KillTimer(programWindow_, retryTimer_);
    if (!process_) return;
    Unwatch();
    if (window_) PostMessageW(window_, companion::WM_COMPANION_END, 0, 0);
    // Not ready yet, or its window is stuck: it ends with the program all the same.
    WaitForSingleObject(process_.get(), kStopWait);
    Forget();
}

}  // namespace app
