// The 32-bit companion as the 64-bit program keeps it: started beside the program with
// its library bound, told every lock and setting the program gives its own library, in
// the same order, watched, started again after a crash or a kill (a few times a minute
// at most), ended with the program. What keeps it from serving 32-bit programs is kept
// to be said in the about box.
#pragma once

#include <windows.h>

#include "handles.h"

namespace app {

class CCompanion {
public:
    CCompanion() = default;
    ~CCompanion() { Stop(); }
    CCompanion(const CCompanion&) = delete;
    CCompanion& operator=(const CCompanion&) = delete;

    // Whether this build serves programs of another width through a companion (the
    // 64-bit one: 64-bit Windows runs 32-bit programs beside it).
    static constexpr bool kServesOtherWidth = sizeof(void*) == 8;

    // Starts it for the program's hidden window, whose `retryTimer` it may use.
    void Start(HWND programWindow, UINT_PTR retryTimer);
    // Its report that its hooks are set; false when it is not the one started.
    bool OnReady(HWND companionWindow);
    // Its process has ended: the reason is read, and unless it would only end the same
    // way again, it is started again after a pause that grows with each end.
    void OnEnded();
    void OnRetryTimer();
    // A shell that (re)starts: a companion that is not running is started again.
    void OnTaskbarCreated();
    // One call of an export that takes one int, passed on as it is.
    void Call(int ordinal, int value) const;
    // Asks it to end and waits for that a moment (it ends with the program anyway).
    void Stop();

    bool ready() const { return window_ != nullptr; }
    // Why 32-bit programs are not served, as a resource string id; 0 while they are
    // (or while the companion is being started), and in a build without another width.
    UINT problem() const { return problem_; }
    DWORD pid() const { return pid_; }

private:
    bool Launch();
    void Watch();
    void Unwatch();
    void Forget();

    HWND programWindow_ = nullptr;
    UINT_PTR retryTimer_ = 0;
    fw::KernelHandle process_;
    DWORD pid_ = 0;
    HANDLE wait_ = nullptr;
    HWND window_ = nullptr;  // its message-only window, once ready
    UINT problem_ = 0;
    bool stopping_ = false;
    // When it was last started, for the pause before the next start.
    DWORD starts_[4] = {};
    unsigned startCount_ = 0;
};

}  // namespace app
