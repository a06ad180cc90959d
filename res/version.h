// Version numbers of the program and of the hook library: the one place they are
// written down. Every .rc file (and the installer) takes them from here. Plain
// #define lines only, so that the resource compiler, C++ and scripts can all read it.
#pragma once

// Clarovia.exe
#define CLAROVIA_VERSION_FIXED 2,8,2,2
#define CLAROVIA_VERSION_TEXT "2.8.2.2"
// The FileVersion string of the program's version resource has read 2.8.2.9 since
// that build; the fixed file version and the product version say 2.8.2.2.
#define CLAROVIA_FILE_VERSION_TEXT "2.8.2.9"

// vitrel.dll
#define VITREL_VERSION_FIXED 2,7,5,0
#define VITREL_VERSION_TEXT "2.7.5"

// Build tag carried by both.
#define CLAROVIA_SPECIAL_BUILD "20071213"
