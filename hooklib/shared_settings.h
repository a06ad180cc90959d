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

#include "settings_table.h"

// Every field with its initial value, in the record's order: the record as it has
// always been, then the fields of settings added since (settings_table.h).
// A list is made by defining VITREL_SHARED_FIELD(type, name, initial) and writing
// VITREL_SHARED_FIELDS.
#define VITREL_SHARED_FIELDS                                                                                  \
    VITREL_SHARED_FIELD(uint32_t, SetLayeredFn, 0)     /* entry of SetLayeredWindowAttributes (32-bit build only) */ \
    VITREL_SHARED_FIELD(uint32_t, GetLayeredFn, 0)     /* entry of GetLayeredWindowAttributes (32-bit build only) */ \
    VITREL_SHARED_FIELD(uint32_t, MouseHook, 0)                                                               \
    VITREL_SHARED_FIELD(uint32_t, CallWndProcHook, 0)                                                         \
    VITREL_SHARED_FIELD(uint32_t, KeyboardHook, 0)                                                            \
    VITREL_SHARED_FIELD(uint32_t, GetMessageHook, 0)                                                          \
    VITREL_SHARED_FIELD(uint32_t, ShellHook, 0)                                                               \
    VITREL_SHARED_FIELD(uint32_t, ProgramWindow, 0)                                                           \
    VITREL_SHARED_FIELD(int32_t, Locked, 1)                                                                   \
    VITREL_SHARED_FIELD(int32_t, SClickTP, 0)                                                                 \
    VITREL_SHARED_FIELD(int32_t, MClickTP, 0)                                                                 \
    VITREL_SHARED_FIELD(int32_t, WheelTP, 0)                                                                  \
    VITREL_SHARED_FIELD(int32_t, MoveTP, 0)                                                                   \
    VITREL_SHARED_FIELD(int32_t, MoveTPLimit, 0)                                                              \
    VITREL_SHARED_FIELD(int32_t, SizingTP, 0)                                                                 \
    VITREL_SHARED_FIELD(int32_t, ClaroviaValue, 255)                                                          \
    VITREL_SHARED_FIELD(int32_t, MoveTPValue, 255)                                                            \
    VITREL_SHARED_FIELD(int32_t, SizingTPValue, 255)                                                          \
    VITREL_SHARED_FIELD(int32_t, TaskbarTPValue, 255)                                                         \
    VITREL_SHARED_FIELD(int32_t, WheelTPValue, 0)                                                             \
    VITREL_SHARED_FIELD(int32_t, WheelLevel, 255)                                                             \
    VITREL_SHARED_FIELD(int32_t, MoveTPW, 500)                                                                \
    VITREL_SHARED_FIELD(int32_t, MoveTPH, 500)                                                                \
    VITREL_SHARED_FIELD(int32_t, MovingActive, 0)                                                             \
    VITREL_SHARED_FIELD(int32_t, SizingActive, 0)                                                             \
    VITREL_SHARED_FIELD(int32_t, WheelActive, 0)                                                              \
    VITREL_SHARED_FIELD(int32_t, ShadeTP, 0)                                                                  \
    VITREL_SHARED_FIELD(int32_t, ShadeRight, 0)                                                               \
    VITREL_SHARED_FIELD(int32_t, ShadeArea, 1)                                                                \
    VITREL_SHARED_FIELD(int32_t, StartButtonTextTP, 0)                                                        \
    VITREL_SHARED_FIELD(int32_t, OverlapTP, 0)                                                                \
    VITREL_SHARED_FIELD(int32_t, TopmostTP, 0)                                                                \
    VITREL_SHARED_FIELD(int32_t, TaskbarTP, 0)                                                                \
    VITREL_SHARED_FIELD(int32_t, StartMenuTP, 0)                                                              \
    CLAROVIA_SETTINGS(CLAROVIA_NO_ROW, VITREL_ADDED_FIELD, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, \
                      CLAROVIA_NO_ROW, CLAROVIA_NO_ROW)
// A field of a setting added since: VITREL_SHARED_FIELD, defined where the list is used.
#define VITREL_ADDED_FIELD(name, initial, low, high, setter, ordinal, field, push, imageInitial)              \
    VITREL_SHARED_FIELD(int32_t, field, imageInitial)

struct SharedSettings {
#define VITREL_SHARED_FIELD(type, name, initial) type name;
    VITREL_SHARED_FIELDS
#undef VITREL_SHARED_FIELD
};

// The 34 fields every build of the library has had, in this order (a program or a
// library of another build finds them where they always were), then the added ones.
#define VITREL_COUNT_ADDED(...) +1
inline constexpr unsigned kSharedFieldCount =
    34 CLAROVIA_SETTINGS(CLAROVIA_NO_ROW, VITREL_COUNT_ADDED, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW,
                         CLAROVIA_NO_ROW, CLAROVIA_NO_ROW);
#undef VITREL_COUNT_ADDED
static_assert(sizeof(SharedSettings) == 4 * kSharedFieldCount, "every field one word of 32 bits");
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
