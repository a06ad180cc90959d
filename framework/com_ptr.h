// An owned COM interface pointer, released once; COM initialised on this thread for the
// life of a scope; and the creation of an object. COM (ole32) is loaded when first used.
#pragma once

#include <objbase.h>

#include <utility>

#include "library.h"

namespace fw {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For a function that hands out a new reference: the old one is released first.
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// CoInitialize .. CoUninitialize around one piece of work.
class ComScope {
public:
    ComScope() {
        if (const auto initialize = SystemProc<decltype(&CoInitialize)>(L"ole32.dll", "CoInitialize"))
            result_ = initialize(nullptr);
    }
    ~ComScope() {
        if (!SUCCEEDED(result_)) return;
        if (const auto uninitialize = SystemProc<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize"))
            uninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool ok() const { return SUCCEEDED(result_); }

private:
    HRESULT result_ = E_FAIL;
};

// CoCreateInstance of an in-process object (inside a ComScope).
inline HRESULT CreateInstance(REFCLSID clsid, REFIID iid, void** object) {
    *object = nullptr;
    const auto create = SystemProc<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    return create ? create(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object) : E_FAIL;
}

}  // namespace fw
