// A block of memory reserved in another process, released with its owner: for the
// controls of another process whose answers come back through a pointer.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

class ForeignBlock {
public:
    ForeignBlock(HANDLE process, SIZE_T size)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
          size_(size) {}
    ~ForeignBlock() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    ForeignBlock(const ForeignBlock&) = delete;
    ForeignBlock& operator=(const ForeignBlock&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    void* address() const { return address_; }

    // Whole-block copies; false unless every byte went across.
    bool Write(const void* from) const {
        SIZE_T done = 0;
        return WriteProcessMemory(process_, address_, from, size_, &done) && done == size_;
    }
    bool Read(void* to) const {
        SIZE_T done = 0;
        return ReadProcessMemory(process_, address_, to, size_, &done) && done == size_;
    }

private:
    HANDLE process_;
    void* address_;
    SIZE_T size_;
};

}  // namespace fw
