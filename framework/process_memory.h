// A block of memory reserved in another process, released with its owner: for the
// controls of another process whose answers come back through a pointer.
#pragma once

#include <windows.h>

namespace fw {

class ForeignBlock {
public:
    // Fails (no block) while too many blocks are still kept for late answers.
    ForeignBlock(HANDLE process, SIZE_T size);
    ~ForeignBlock();
    ForeignBlock(const ForeignBlock&) = delete;
    ForeignBlock& operator=(const ForeignBlock&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    void* address() const { return address_; }

    // Whole-block copies; false unless every byte went across.
    bool Write(const void* from) const;
    bool Read(void* to) const;

    // A message pointing into the block was sent to `window` and not answered in time:
    // the window may have taken it and still write into the block when it answers. The
    // block is then not freed with this object but kept until the window's thread has
    // answered a later message (it takes the messages of one sender in order), the
    // window is gone or the process has ended.
    void KeepForLateAnswer(HWND window);

    // How many blocks are kept for late answers now (after giving back those that no
    // message can reach any more).
    static int KeptCount();

private:
    HANDLE process_;
    void* address_;
    SIZE_T size_;
};

}  // namespace fw
