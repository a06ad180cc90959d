// Owning wrappers for system handles: each releases its handle exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

template <typename T, typename Traits>
class Owned {
public:
    Owned() = default;
    explicit Owned(T value) : value_(value) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : value_(std::exchange(other.value_, Traits::Invalid())) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            value_ = std::exchange(other.value_, Traits::Invalid());
        }
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Invalid(); }
    T release() { return std::exchange(value_, Traits::Invalid()); }
    void reset(T value = Traits::Invalid()) {
        if (value_ != Traits::Invalid()) Traits::Close(value_);
        value_ = value;
    }

private:
    T value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};

using KernelHandle = Owned<HANDLE, KernelHandleTraits>;
using Menu = Owned<HMENU, MenuTraits>;
using Icon = Owned<HICON, IconTraits>;
using Module = Owned<HMODULE, ModuleTraits>;
using GdiObject = Owned<HGDIOBJ, GdiObjectTraits>;

class RegKey : public Owned<HKEY, RegKeyTraits> {
public:
    bool Open(HKEY parent, const wchar_t* path, REGSAM access) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(parent, path, 0, access, &key) != ERROR_SUCCESS) return false;
        reset(key);
        return true;
    }
    // `options`: REG_OPTION_VOLATILE for a key that ends with the log-on session.
    bool Create(HKEY parent, const wchar_t* path, DWORD options = REG_OPTION_NON_VOLATILE) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(parent, path, 0, nullptr, options, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        reset(key);
        return true;
    }
};

}  // namespace fw
