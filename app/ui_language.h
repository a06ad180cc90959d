// Which language the program speaks. The value "Language" in the program's own key
// ("ja" or "en", case aside) forces one; without it, or with any other value, Japanese
// where the user's UI language is Japanese and English for every other language.
#pragma once

#include <windows.h>

#include <string>

#include "profile.h"

namespace app {

inline constexpr wchar_t kLanguageValue[] = L"Language";

// The resources' language for a stored value (empty when there is none) and the
// user's UI language.
LANGID LanguageFor(const std::wstring& stored, LANGID userLanguage);
// Reads the value under the profile's key and the user's UI language.
LANGID ChooseLanguage(const fw::Profile& profile);

}  // namespace app
