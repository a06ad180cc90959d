#include "resource_language.h"

namespace fw {

namespace {
// Set at start, read by the one GUI thread.
LANGID g_language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

// The resource in the chosen language, else in whatever language the module has it.
const void* FindIn(HINSTANCE module, LPCWSTR type, LPCWSTR name, DWORD* size) {
    HRSRC found = FindResourceExW(module, type, name, g_language);
    if (!found) found = FindResourceW(module, name, type);
    if (!found) return nullptr;
    const HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return nullptr;
    if (size) *size = SizeofResource(module, found);
    return LockResource(loaded);
}
}  // namespace

void SetResourceLanguage(LANGID language) { g_language = language; }

LANGID ResourceLanguage() { return g_language; }

bool ResourceLanguageIs(WORD primary) { return PRIMARYLANGID(g_language) == primary; }

const DLGTEMPLATE* DialogTemplate(HINSTANCE module, UINT id) {
    return static_cast<const DLGTEMPLATE*>(FindIn(module, RT_DIALOG, MAKEINTRESOURCEW(id), nullptr));
}

std::wstring LoadResourceString(HINSTANCE module, UINT id) {
    // Strings come in blocks of sixteen, each a length and that many characters.
    DWORD size = 0;
    const auto* block =
        static_cast<const WCHAR*>(FindIn(module, RT_STRING, MAKEINTRESOURCEW((id >> 4) + 1), &size));
    if (!block) return {};
    const WCHAR* end = block + size / sizeof(WCHAR);
    const WCHAR* p = block;
    for (UINT skip = id & 15; skip && p < end; --skip) p += 1 + *p;
    if (p >= end || p + 1 + *p > end) return {};
    return std::wstring(p + 1, *p);
}

}  // namespace fw
