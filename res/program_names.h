// The names by which the program is found from outside: by a second start, the
// installer and the uninstaller, and the tests. Plain string macros: the resource
// script, the program and the installer script take them from here.
#pragma once

// The hidden main window's caption (a dialog of class "#32770").
#define CLAROVIA_HIDDEN_WINDOW_CAPTION "Clarovia Hidden Window."
// The mutex that only the first copy of a user's session holds.
#define CLAROVIA_INSTANCE_MUTEX "Kesto's Clarovia"
// The company key under HKEY_CURRENT_USER\Software that holds the program's key.
#define CLAROVIA_COMPANY "kesto's tool"

// A narrow literal above as a wide one.
#define CLAROVIA_WIDE_(text) L##text
#define CLAROVIA_WIDE(text) CLAROVIA_WIDE_(text)
