#include "ui_language.h"

#include "handles.h"

namespace app {

namespace {
constexpr LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);
constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The stored value, a short REG_SZ; anything else reads as none.
std::wstring StoredLanguage(const fw::Profile& profile) {
    fw::RegKey key;
    if (!profile.IsOpen() || !key.Open(HKEY_CURRENT_USER, profile.root().c_str(), KEY_QUERY_VALUE)) return {};
    wchar_t text[16] = {};
    DWORD type = 0, size = sizeof text - sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), kLanguageValue, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return std::wstring(text, wcsnlen(text, size / sizeof(wchar_t)));
}
}  // namespace

LANGID LanguageFor(const std::wstring& stored, LANGID userLanguage) {
    if (lstrcmpiW(stored.c_str(), L"ja") == 0) return kJapanese;
    if (lstrcmpiW(stored.c_str(), L"en") == 0) return kEnglish;
    return PRIMARYLANGID(userLanguage) == LANG_JAPANESE ? kJapanese : kEnglish;
}

LANGID ChooseLanguage(const fw::Profile& profile) {
    return LanguageFor(StoredLanguage(profile), GetUserDefaultUILanguage());
}

}  // namespace app
