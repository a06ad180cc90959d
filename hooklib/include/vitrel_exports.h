// Every export of vitrel.dll, in ordinal order: its name, its signature (a type of
// namespace vitrel) and its ordinal. The one list from which the library declares its
// exports and makes its .def file, and from which the program and the tests bind it.
// No includes: the .def file is made from this header by the preprocessor alone.
#pragma once

#define VITREL_EXPORTS(X)                                                                             \
    X(Start, StartSig, 1)                                                                             \
    X(End, EndSig, 2)                                                                                 \
    X(LockMessage, IntSig, 3)                                                                         \
    X(SetClaroviaValue, IntSig, 4)                                                                    \
    X(SetMoveTPValue, IntSig, 5)                                                                      \
    X(SetSizingTPValue, IntSig, 6)                                                                    \
    X(SetTaskbarTPValue, IntSig, 7)                                                                   \
    X(SetWheelTPValue, IntSig, 8)                                                                     \
    X(EnableSClickTP, IntSig, 9)                                                                      \
    X(EnableMClickTP, IntSig, 10)                                                                     \
    X(EnableWheelTP, IntSig, 11)                                                                      \
    X(EnableMoveTP, IntSig, 12)                                                                       \
    X(EnableSizingTP, IntSig, 13)                                                                     \
    X(EnableTaskbarTP, EnableTaskbarSig, 14)                                                          \
    X(SetTransparent, SetTransparentSig, 15)                                                          \
    X(RemoveTransparent, WindowSig, 16)                                                               \
    X(EnableShadeTP, IntSig, 17)                                                                      \
    X(EnableStartButtonTextTP, IntSig, 18)                                                            \
    X(EnableOverlapTP, IntSig, 19)                                                                    \
    X(EnableMoveTPLimit, IntSig, 21)                                                                  \
    X(SetMoveTPW, IntSig, 22)                                                                         \
    X(SetMoveTPH, IntSig, 23)                                                                         \
    X(IsTransparent, WindowSig, 24)                                                                   \
    X(EnableTopmostTP, IntSig, 25)                                                                    \
    X(ShadeArea, IntSig, 26)                                                                          \
    X(ShadeRight, IntSig, 27)
