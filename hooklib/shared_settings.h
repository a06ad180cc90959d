// The one record that every process mapping vitrel.dll shares.
//
// Each field is one aligned 32-bit word in both builds, so that a hook reading a
// field while the program writes it sees either the old or the new value. Window
// and hook handles are stored as 32-bit values: user handles are 32-bit
// significant on 64-bit Windows precisely so that 32- and 64-bit processes can
// exchange them. They are widened back with sign extension, as HandleToLong /
// LongToHandle do.
#pragma once

#include <windows.h>
#include <stdint.h>

// Every field with its initial value, in the record's order.
#define VITREL_SHARED_FIELDS(X)                                                                            \
    X(uint32_t, SetLayeredFn, 0)     /* entry of SetLayeredWindowAttributes (32-bit build only) */         \
    X(uint32_t, GetLayeredFn, 0)     /* entry of GetLayeredWindowAttributes (32-bit build only) */         \
    X(uint32_t, MouseHook, 0)                                                                              \
    X(uint32_t, CallWndProcHook, 0)                                                                        \
    X(uint32_t, KeyboardHook, 0)                                                                           \
    X(uint32_t, GetMessageHook, 0)                                                                         \
    X(uint32_t, ShellHook, 0)                                                                              \
    X(uint32_t, ProgramWindow, 0)                                                                          \
    X(int32_t, Locked, 1)                                                                                  \
    X(int32_t, SClickTP, 0)                                                                                \
    X(int32_t, MClickTP, 0)                                                                                \
    X(int32_t, WheelTP, 0)                                                                                 \
    X(int32_t, MoveTP, 0)                                                                                  \
    X(int32_t, MoveTPLimit, 0)                                                                             \
    X(int32_t, SizingTP, 0)                                                                                \
    X(int32_t, ClaroviaValue, 255)                                                                         \
    X(int32_t, MoveTPValue, 255)                                                                           \
    X(int32_t, SizingTPValue, 255)                                                                         \
    X(int32_t, TaskbarTPValue, 255)                                                                        \
    X(int32_t, WheelTPValue, 0)                                                                            \
    X(int32_t, WheelLevel, 255)                                                                            \
    X(int32_t, MoveTPW, 500)                                                                               \
    X(int32_t, MoveTPH, 500)                                                                               \
    X(int32_t, MovingActive, 0)                                                                            \
    X(int32_t, SizingActive, 0)                                                                            \
    X(int32_t, WheelActive, 0)                                                                             \
    X(int32_t, ShadeTP, 0)                                                                                 \
    X(int32_t, ShadeRight, 0)                                                                              \
    X(int32_t, ShadeArea, 1)                                                                               \
    X(int32_t, StartButtonTextTP, 0)                                                                       \
    X(int32_t, OverlapTP, 0)                                                                               \
    X(int32_t, TopmostTP, 0)                                                                               \
    X(int32_t, TaskbarTP, 0)                                                                               \
    X(int32_t, StartMenuTP, 0)

struct SharedSettings {
#define VITREL_SHARED_FIELD(type, name, initial) type name;
    VITREL_SHARED_FIELDS(VITREL_SHARED_FIELD)
#undef VITREL_SHARED_FIELD
};

static_assert(sizeof(SharedSettings) == 136, "34 words of 32 bits");
static_assert(alignof(SharedSettings) == 4, "every field one aligned 32-bit word");

// Name of the shared section; tests locate the record by it.
#define VITREL_SECTION ".vitrel"

// The instance in the shared section. Accessed through a volatile reference so that
// every read sees what another process wrote last.
extern SharedSettings g_sharedStorage;
#define g_shared (*static_cast<volatile SharedSettings*>(&g_sharedStorage))

inline HWND WindowFromWord(uint32_t word) {
    return static_cast<HWND>(reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int32_t>(word))));
}
inline HHOOK HookFromWord(uint32_t word) {
    return static_cast<HHOOK>(reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int32_t>(word))));
}
inline uint32_t WordFromHandle(const void* handle) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}
