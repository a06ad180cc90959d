// Every export of vitrel.dll: its name, its signature (a type of namespace vitrel) and
// its ordinal. The one list from which the library declares its exports and makes its
// .def file, and from which the program and the tests bind it: the library's own
// exports below, and the setter of every setting it takes (settings_table.h).
//
// A list is made by defining VITREL_EXPORT(name, signature, ordinal) and writing
// VITREL_EXPORTS. No includes but the table: the .def file is made from this header by
// the preprocessor alone.
#pragma once

#include "settings_table.h"

#define VITREL_OWN_EXPORTS                                 \
    VITREL_EXPORT(Start, StartSig, 1)                      \
    VITREL_EXPORT(End, EndSig, 2)                          \
    VITREL_EXPORT(LockMessage, IntSig, 3)                  \
    VITREL_EXPORT(EnableTaskbarTP, EnableTaskbarSig, 14)   \
    VITREL_EXPORT(SetTransparent, SetTransparentSig, 15)   \
    VITREL_EXPORT(RemoveTransparent, WindowSig, 16)        \
    VITREL_EXPORT(IsTransparent, WindowSig, 24)

#define VITREL_SETTER_EXPORT(name, initial, low, high, setter, ordinal, ...) VITREL_EXPORT(setter, IntSig, ordinal)

#define VITREL_EXPORTS                                                                                       \
    VITREL_OWN_EXPORTS                                                                                       \
    CLAROVIA_SETTINGS(VITREL_SETTER_EXPORT, VITREL_SETTER_EXPORT, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW,          \
                      CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW)
