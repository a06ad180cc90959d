#include "process_memory.h"

#include "window_util.h"

namespace fw {
namespace {

// Blocks kept for a late answer. Few: a shell that keeps missing its answers is asked
// nothing through memory until it has caught up.
struct KeptBlock {
    HANDLE process;  // our own handle, closed with the block
    void* address;
    HWND window;
};
constexpr int kMaxKept = 8;
KeptBlock g_kept[kMaxKept];

bool Ended(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

void Release(KeptBlock& kept) {
    if (!Ended(kept.process)) VirtualFreeEx(kept.process, kept.address, 0, MEM_RELEASE);
    CloseHandle(kept.process);
    kept = {};
}

// Gives back the kept blocks that no message can write into any more.
void ReleaseSettled() {
    for (KeptBlock& kept : g_kept) {
        if (!kept.process) continue;
        // Once the window's thread answers a message sent after the late one, it has
        // finished with the late one. A window that is gone answers nothing: its block
        // is given back only with its process.
        if (Ended(kept.process) || (IsWindow(kept.window) && SendBounded(kept.window, WM_NULL, 0, 0))) Release(kept);
    }
}

int Count() {
    int n = 0;
    for (const KeptBlock& kept : g_kept) n += kept.process != nullptr;
    return n;
}

}  // namespace

ForeignBlock::ForeignBlock(HANDLE process, SIZE_T size) : process_(process), address_(nullptr), size_(size) {
    if (KeptCount() >= kMaxKept) return;
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

ForeignBlock::~ForeignBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool ForeignBlock::Write(const void* from) const {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, address_, from, size_, &done) && done == size_;
}

bool ForeignBlock::Read(void* to) const {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, address_, to, size_, &done) && done == size_;
}

void ForeignBlock::KeepForLateAnswer(HWND window) {
    if (!address_) return;
    HANDLE own = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), process_, GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS))
        own = nullptr;
    for (KeptBlock& kept : g_kept)
        if (!kept.process && own) {
            kept = {own, address_, window};
            address_ = nullptr;
            return;
        }
    // No room (the constructor leaves room for one) or no handle of our own: the block
    // is left to its process rather than freed under a message that may still use it.
    if (own) CloseHandle(own);
    address_ = nullptr;
}

int ForeignBlock::KeptCount() {
    if (Count()) ReleaseSettled();
    return Count();
}

}  // namespace fw
