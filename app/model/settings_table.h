// Every value of the "Status" key, in the order in which the program writes them
// (reading has no order to keep): the one list from which the settings record's fields
// and its registry table are made. Each entry is one of
//   NUMBER(name, default)     a number, read and written
//   TEXT(name, default)       a text, read and written
//   COMPUTED(name, function)  a number whose default depends on the screen
//   READ_ONLY(name, default)  a number the program reads and never writes back
// The name is the field's and the registry value's alike.
#pragma once

#define CLAROVIA_SETTINGS(NUMBER, TEXT, COMPUTED, READ_ONLY) \
    NUMBER(EnableSClickTP, 1)                                \
    NUMBER(EnableMClickTP, 1)                                \
    NUMBER(EnableWheelTP, 1)                                 \
    NUMBER(ClaroviaValue, 190)                               \
    NUMBER(WheelStep, 5)                                     \
    NUMBER(EnableMoveTP, 1)                                  \
    NUMBER(MoveTPValue, 190)                                 \
    NUMBER(EnableMoveTPLimit, 0)                             \
    NUMBER(MoveTPW, 500)                                     \
    NUMBER(MoveTPH, 500)                                     \
    NUMBER(EnableSizingTP, 1)                                \
    NUMBER(SizingTPValue, 190)                               \
    NUMBER(EnableTaskbarTP, 1)                               \
    NUMBER(EnableStartMenuTP, 0)                             \
    NUMBER(TaskbarTPValue, 190)                              \
    NUMBER(EnableShadeTP, 1)                                 \
    NUMBER(ShadeRight, 1)                                    \
    NUMBER(ShadeArea, 1)                                     \
    COMPUTED(DefaultHeight, HalfScreenHeight)                \
    NUMBER(EnableStartButtonTP, 0)                           \
    TEXT(StartButtonText, L"")                               \
    NUMBER(EnableOverlapTP, 0)                               \
    NUMBER(EnableTopmostTP, 0)                               \
    NUMBER(NoTaskTrayIcon, 0)                                \
    NUMBER(HideFlag, 0)                                      \
    NUMBER(HideMenu, 0)                                      \
    NUMBER(Startup, 0)                                       \
    NUMBER(ShowClock, 0)                                     \
    READ_ONLY(ShowClockClassName, 0)                         \
    TEXT(TimeFormat, kDefaultTimeFormat)                     \
    NUMBER(DeskTopIconBkMode, 0)                             \
    NUMBER(DeskTopIconTextColorMode, 0)                      \
    NUMBER(DeskTopIconTextColor, 0x00FFFFFF)                 \
    NUMBER(ColumnWidth, 0)
