// Every user setting, one row each, with every name it bears on its way from the
// registry into the hook library. The rows stand in the order in which the program
// writes them to its "Status" key. The settings record, its registry store, the
// library's setters and exports, the program's binding and its push are all made from
// these rows; a new setting is one row (and the page control that edits it).
//
//   LIBRARY(name, default, low, high, export, ordinal, field, push)
//       A number the hook library takes through its one-argument setter `export`
//       (ordinal `ordinal`), which stores it in the shared record's `field`. `push` is
//       its place in the apply step's push, where the library takes the settings in an
//       order of its own; 0: the apply step gives it at a moment of its own.
//   ADDED(name, default, low, high, export, ordinal, field, push, initial)
//       The same for a setting the shared record did not have from the start: its
//       field is appended to the record, with `initial` in the library image.
//   TASKBAR(name, default, field, push, argument)
//       An argument of EnableTaskbarTP (1 the taskbar, 2 the start menu), which stores
//       both and applies them at once; it is given at `push` with both values.
//   NUMBER(name, default, low, high)   a number of the program's own
//   COMPUTED(name, function, low, high)
//                                      the same with a default that depends on the screen
//   TEXT(name, default)                a text
//   READ_ONLY(name, default)           a number the program reads and never writes back
//
// `name` is the registry value's and the settings record's field's alike. `low` and
// `high` are what the settings pages offer; what the registry holds is used as it is.
// No includes and nothing but the list: the library's .def file is made from it by the
// preprocessor alone.
#pragma once

#define CLAROVIA_LEVEL_LOW 10
#define CLAROVIA_LEVEL_HIGH 255

#define CLAROVIA_SETTINGS(LIBRARY, ADDED, TASKBAR, NUMBER, COMPUTED, TEXT, READ_ONLY)                        \
    LIBRARY(EnableSClickTP, 1, 0, 1, EnableSClickTP, 9, SClickTP, 1)                                         \
    LIBRARY(EnableMClickTP, 1, 0, 1, EnableMClickTP, 10, MClickTP, 2)                                        \
    LIBRARY(EnableWheelTP, 1, 0, 1, EnableWheelTP, 11, WheelTP, 4)                                           \
    LIBRARY(ClaroviaValue, 190, CLAROVIA_LEVEL_LOW, CLAROVIA_LEVEL_HIGH, SetClaroviaValue, 4, ClaroviaValue, 3) \
    LIBRARY(WheelStep, 5, 1, 50, SetWheelTPValue, 8, WheelTPValue, 5)                                        \
    LIBRARY(EnableMoveTP, 1, 0, 1, EnableMoveTP, 12, MoveTP, 6)                                              \
    LIBRARY(MoveTPValue, 190, CLAROVIA_LEVEL_LOW, CLAROVIA_LEVEL_HIGH, SetMoveTPValue, 5, MoveTPValue, 7)    \
    LIBRARY(EnableMoveTPLimit, 0, 0, 1, EnableMoveTPLimit, 21, MoveTPLimit, 8)                               \
    LIBRARY(MoveTPW, 500, 1, 0x7FFFFFFF, SetMoveTPW, 22, MoveTPW, 9)                                         \
    LIBRARY(MoveTPH, 500, 1, 0x7FFFFFFF, SetMoveTPH, 23, MoveTPH, 10)                                        \
    LIBRARY(EnableSizingTP, 1, 0, 1, EnableSizingTP, 13, SizingTP, 11)                                       \
    LIBRARY(SizingTPValue, 190, CLAROVIA_LEVEL_LOW, CLAROVIA_LEVEL_HIGH, SetSizingTPValue, 6, SizingTPValue, 12) \
    TASKBAR(EnableTaskbarTP, 1, TaskbarTP, 14, 1)                                                            \
    TASKBAR(EnableStartMenuTP, 0, StartMenuTP, 14, 2)                                                        \
    LIBRARY(TaskbarTPValue, 190, CLAROVIA_LEVEL_LOW, CLAROVIA_LEVEL_HIGH, SetTaskbarTPValue, 7, TaskbarTPValue, 13) \
    LIBRARY(EnableShadeTP, 1, 0, 1, EnableShadeTP, 17, ShadeTP, 15)                                          \
    LIBRARY(ShadeRight, 1, 0, 1, ShadeRight, 27, ShadeRight, 16)                                             \
    LIBRARY(ShadeArea, 1, 0, 2, ShadeArea, 26, ShadeArea, 17)                                                \
    COMPUTED(DefaultHeight, HalfScreenHeight, 1, 0x7FFFFFFF)                                                 \
    LIBRARY(EnableStartButtonTP, 0, 0, 1, EnableStartButtonTextTP, 18, StartButtonTextTP, 18)                \
    TEXT(StartButtonText, L"")                                                                               \
    LIBRARY(EnableOverlapTP, 0, 0, 1, EnableOverlapTP, 19, OverlapTP, 0)                                     \
    LIBRARY(EnableTopmostTP, 0, 0, 1, EnableTopmostTP, 25, TopmostTP, 0)                                     \
    NUMBER(NoTaskTrayIcon, 0, 0, 1)                                                                          \
    NUMBER(HideFlag, 0, 0, 1)                                                                                \
    NUMBER(HideMenu, 0, 0, 1)                                                                                \
    NUMBER(Startup, 0, 0, 1)                                                                                 \
    NUMBER(ShowClock, 0, 0, 1)                                                                               \
    READ_ONLY(ShowClockClassName, 0)                                                                         \
    TEXT(TimeFormat, kDefaultTimeFormat)                                                                     \
    NUMBER(DeskTopIconBkMode, 0, 0, 1)                                                                       \
    NUMBER(DeskTopIconTextColorMode, 0, 0, 1)                                                                \
    NUMBER(DeskTopIconTextColor, 0x00FFFFFF, 0, 0x00FFFFFF)                                                  \
    NUMBER(ColumnWidth, 0, 0, 0x7FFFFFFF)

// A row kind that a list made from the rows leaves out.
#define CLAROVIA_NO_ROW(...)
