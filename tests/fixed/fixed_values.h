// What must not change silently, whatever the product's own tables say: what stored
// settings, the library's callers and programs of other builds rely on. The tests and
// the static checks (check_pe.py reads this file) compare the product against these
// lines; nothing of the product is made from them.
//
//   FIXED_EXPORT(name, ordinal)            an export of vitrel.dll
//   FIXED_FIELD(name, initial)             the shared record's fields, in order, with
//                                          their values in the library image
//   FIXED_NUMBER(name, default)            a number of the "Status" key, written back
//   FIXED_TEXT(name, default)              a text of the "Status" key, written back
//   FIXED_READ_ONLY(name)                  a value of the "Status" key never written
#pragma once

#define FIXED_EXPORTS(FIXED_EXPORT)                                                                        \
    FIXED_EXPORT(Start, 1) FIXED_EXPORT(End, 2) FIXED_EXPORT(LockMessage, 3)                                \
    FIXED_EXPORT(SetClaroviaValue, 4) FIXED_EXPORT(SetMoveTPValue, 5) FIXED_EXPORT(SetSizingTPValue, 6)     \
    FIXED_EXPORT(SetTaskbarTPValue, 7) FIXED_EXPORT(SetWheelTPValue, 8) FIXED_EXPORT(EnableSClickTP, 9)     \
    FIXED_EXPORT(EnableMClickTP, 10) FIXED_EXPORT(EnableWheelTP, 11) FIXED_EXPORT(EnableMoveTP, 12)         \
    FIXED_EXPORT(EnableSizingTP, 13) FIXED_EXPORT(EnableTaskbarTP, 14) FIXED_EXPORT(SetTransparent, 15)     \
    FIXED_EXPORT(RemoveTransparent, 16) FIXED_EXPORT(EnableShadeTP, 17)                                     \
    FIXED_EXPORT(EnableStartButtonTextTP, 18) FIXED_EXPORT(EnableOverlapTP, 19)                             \
    FIXED_EXPORT(EnableMoveTPLimit, 21) FIXED_EXPORT(SetMoveTPW, 22) FIXED_EXPORT(SetMoveTPH, 23)           \
    FIXED_EXPORT(IsTransparent, 24) FIXED_EXPORT(EnableTopmostTP, 25) FIXED_EXPORT(ShadeArea, 26)           \
    FIXED_EXPORT(ShadeRight, 27)

#define FIXED_FIELDS(FIXED_FIELD)                                                                          \
    FIXED_FIELD(SetLayeredFn, 0) FIXED_FIELD(GetLayeredFn, 0) FIXED_FIELD(MouseHook, 0)                     \
    FIXED_FIELD(CallWndProcHook, 0) FIXED_FIELD(KeyboardHook, 0) FIXED_FIELD(GetMessageHook, 0)             \
    FIXED_FIELD(ShellHook, 0) FIXED_FIELD(ProgramWindow, 0) FIXED_FIELD(Locked, 1)                          \
    FIXED_FIELD(SClickTP, 0) FIXED_FIELD(MClickTP, 0) FIXED_FIELD(WheelTP, 0) FIXED_FIELD(MoveTP, 0)        \
    FIXED_FIELD(MoveTPLimit, 0) FIXED_FIELD(SizingTP, 0) FIXED_FIELD(ClaroviaValue, 255)                    \
    FIXED_FIELD(MoveTPValue, 255) FIXED_FIELD(SizingTPValue, 255) FIXED_FIELD(TaskbarTPValue, 255)          \
    FIXED_FIELD(WheelTPValue, 0) FIXED_FIELD(WheelLevel, 255) FIXED_FIELD(MoveTPW, 500)                     \
    FIXED_FIELD(MoveTPH, 500) FIXED_FIELD(MovingActive, 0) FIXED_FIELD(SizingActive, 0)                     \
    FIXED_FIELD(WheelActive, 0) FIXED_FIELD(ShadeTP, 0) FIXED_FIELD(ShadeRight, 0)                          \
    FIXED_FIELD(ShadeArea, 1) FIXED_FIELD(StartButtonTextTP, 0) FIXED_FIELD(OverlapTP, 0)                   \
    FIXED_FIELD(TopmostTP, 0) FIXED_FIELD(TaskbarTP, 0) FIXED_FIELD(StartMenuTP, 0)

// "DefaultHeight" defaults to half the screen's height: FIXED_HALF_SCREEN.
#define FIXED_STATUS(FIXED_NUMBER, FIXED_TEXT, FIXED_READ_ONLY)                                            \
    FIXED_NUMBER(EnableSClickTP, 1) FIXED_NUMBER(EnableMClickTP, 1) FIXED_NUMBER(EnableWheelTP, 1)          \
    FIXED_NUMBER(ClaroviaValue, 190) FIXED_NUMBER(WheelStep, 5) FIXED_NUMBER(EnableMoveTP, 1)               \
    FIXED_NUMBER(MoveTPValue, 190) FIXED_NUMBER(EnableMoveTPLimit, 0) FIXED_NUMBER(MoveTPW, 500)            \
    FIXED_NUMBER(MoveTPH, 500) FIXED_NUMBER(EnableSizingTP, 1) FIXED_NUMBER(SizingTPValue, 190)             \
    FIXED_NUMBER(EnableTaskbarTP, 1) FIXED_NUMBER(EnableStartMenuTP, 0) FIXED_NUMBER(TaskbarTPValue, 190)   \
    FIXED_NUMBER(EnableShadeTP, 1) FIXED_NUMBER(ShadeRight, 1) FIXED_NUMBER(ShadeArea, 1)                   \
    FIXED_NUMBER(DefaultHeight, FIXED_HALF_SCREEN) FIXED_NUMBER(EnableStartButtonTP, 0)                     \
    FIXED_TEXT(StartButtonText, "") FIXED_NUMBER(EnableOverlapTP, 0) FIXED_NUMBER(EnableTopmostTP, 0)       \
    FIXED_NUMBER(NoTaskTrayIcon, 0) FIXED_NUMBER(HideFlag, 0) FIXED_NUMBER(HideMenu, 0)                     \
    FIXED_NUMBER(Startup, 0) FIXED_NUMBER(ShowClock, 0) FIXED_READ_ONLY(ShowClockClassName)                 \
    FIXED_TEXT(TimeFormat, "%y/%m/%d %H:%M:%S") FIXED_NUMBER(DeskTopIconBkMode, 0)                          \
    FIXED_NUMBER(DeskTopIconTextColorMode, 0) FIXED_NUMBER(DeskTopIconTextColor, 0x00FFFFFF)                \
    FIXED_NUMBER(ColumnWidth, 0)
