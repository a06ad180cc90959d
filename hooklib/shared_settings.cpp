// The shared record with its initial values. No code initialises it: the values
// come from the library image, and the section is shared by every process that
// maps the library (flags 0xD0000040).
#include "shared_settings.h"

__attribute__((section(VITREL_SECTION), shared, used, aligned(4)))
SharedSettings g_sharedStorage = {
    /* SetLayeredFn */ 0, /* GetLayeredFn */ 0,
    /* MouseHook */ 0, /* CallWndProcHook */ 0, /* KeyboardHook */ 0,
    /* GetMessageHook */ 0, /* ShellHook */ 0, /* ProgramWindow */ 0,
    /* Locked */ 1,
    /* SClickTP */ 0, /* MClickTP */ 0, /* WheelTP */ 0, /* MoveTP */ 0,
    /* MoveTPLimit */ 0, /* SizingTP */ 0,
    /* ClaroviaValue */ 255, /* MoveTPValue */ 255, /* SizingTPValue */ 255,
    /* TaskbarTPValue */ 255, /* WheelTPValue */ 0, /* WheelLevel */ 255,
    /* MoveTPW */ 500, /* MoveTPH */ 500,
    /* MovingActive */ 0, /* SizingActive */ 0, /* WheelActive */ 0,
    /* ShadeTP */ 0, /* ShadeRight */ 0, /* ShadeArea */ 1,
    /* StartButtonTextTP */ 0, /* OverlapTP */ 0, /* TopmostTP */ 0,
    /* TaskbarTP */ 0, /* StartMenuTP */ 0,
};
