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

struct SharedSettings {
    uint32_t SetLayeredFn;     // entry of SetLayeredWindowAttributes (32-bit build only)
    uint32_t GetLayeredFn;     // entry of GetLayeredWindowAttributes (32-bit build only)
    uint32_t MouseHook;
    uint32_t CallWndProcHook;
    uint32_t KeyboardHook;
    uint32_t GetMessageHook;
    uint32_t ShellHook;
    uint32_t ProgramWindow;
    int32_t Locked;
    int32_t SClickTP;
    int32_t MClickTP;
    int32_t WheelTP;
    int32_t MoveTP;
    int32_t MoveTPLimit;
    int32_t SizingTP;
    int32_t ClaroviaValue;
    int32_t MoveTPValue;
    int32_t SizingTPValue;
    int32_t TaskbarTPValue;
    int32_t WheelTPValue;
    int32_t WheelLevel;
    int32_t MoveTPW;
    int32_t MoveTPH;
    int32_t MovingActive;
    int32_t SizingActive;
    int32_t WheelActive;
    int32_t ShadeTP;
    int32_t ShadeRight;
    int32_t ShadeArea;
    int32_t StartButtonTextTP;
    int32_t OverlapTP;
    int32_t TopmostTP;
    int32_t TaskbarTP;
    int32_t StartMenuTP;
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
