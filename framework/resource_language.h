// The language of the program's own resources: every dialog template and string the
// framework loads is looked up in one language chosen at start, the same way on every
// version of Windows (2000 and XP have no per-thread UI language to steer the system's
// loader with). A resource that the chosen language lacks comes in the language it
// exists in.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// Chosen once, before the first window or text of the program.
void SetResourceLanguage(LANGID language);
LANGID ResourceLanguage();
// Whether the chosen language is the one of `primary` (LANG_JAPANESE, LANG_ENGLISH).
bool ResourceLanguageIs(WORD primary);

// The dialog template `id` of `module` in the chosen language (null if there is none).
const DLGTEMPLATE* DialogTemplate(HINSTANCE module, UINT id);
// The string `id` of `module` in the chosen language ("" if there is none).
std::wstring LoadResourceString(HINSTANCE module, UINT id);

}  // namespace fw
