#include "app_settings.h"

#include <commctrl.h>

#include "decimal.h"
#include "desktop_icon_text.h"
#include "hotkeys.h"
#include "rules_store.h"

namespace app {

namespace {
constexpr wchar_t kStatus[] = L"Status";
constexpr wchar_t kClassFilter[] = L"ClassFilter";
constexpr int kClassFilterLast = 100;

int HalfScreenHeight() { return GetSystemMetrics(SM_CYSCREEN) / 2; }

// One value of the "Status" key: a number or a text, its default, and whether the
// program writes it back (some are only ever read).
struct Setting {
    const wchar_t* name;
    int SettingsFields::*number;
    std::wstring SettingsFields::*text;
    int numberDefault;
    const wchar_t* textDefault;
    int (*computedDefault)();  // a default that depends on the screen
    bool written;
};

constexpr Setting Number(const wchar_t* name, int SettingsFields::*field, int defaultValue) {
    return {name, field, nullptr, defaultValue, nullptr, nullptr, true};
}
constexpr Setting Text(const wchar_t* name, std::wstring SettingsFields::*field, const wchar_t* defaultValue) {
    return {name, nullptr, field, 0, defaultValue, nullptr, true};
}
constexpr Setting Computed(const wchar_t* name, int SettingsFields::*field, int (*defaultValue)()) {
    return {name, field, nullptr, 0, nullptr, defaultValue, true};
}
constexpr Setting ReadOnly(const wchar_t* name, int SettingsFields::*field, int defaultValue) {
    return {name, field, nullptr, defaultValue, nullptr, nullptr, false};
}

// Every value, in the order in which it is written.
constexpr Setting kSettings[] = {
#define CLAROVIA_NUMBER(name, initial, ...) Number(L## #name, &SettingsFields::name, initial),
#define CLAROVIA_TEXT(name, initial) Text(L## #name, &SettingsFields::name, initial),
#define CLAROVIA_COMPUTED(name, function, ...) Computed(L## #name, &SettingsFields::name, function),
#define CLAROVIA_READ_ONLY(name, initial) ReadOnly(L## #name, &SettingsFields::name, initial),
    CLAROVIA_SETTINGS(CLAROVIA_NUMBER, CLAROVIA_NUMBER, CLAROVIA_NUMBER, CLAROVIA_NUMBER, CLAROVIA_COMPUTED,
                      CLAROVIA_TEXT, CLAROVIA_READ_ONLY)
#undef CLAROVIA_NUMBER
#undef CLAROVIA_TEXT
#undef CLAROVIA_COMPUTED
#undef CLAROVIA_READ_ONLY
};
}  // namespace

AppSettings::AppSettings(const fw::Profile& profile) : profile_(profile) { Load(); }

AppSettings::~AppSettings() { Save(); }

void AppSettings::Load() {
    // A missing value gives its default; nothing is range-tested.
    const fw::ProfileSection status(profile_, kStatus, fw::ProfileSection::Access::Read);
    for (const Setting& s : kSettings) {
        if (s.text) {
            this->*s.text = status.GetString(s.name, s.textDefault);
        } else {
            const int fallback = s.computedDefault ? s.computedDefault() : s.numberDefault;
            this->*s.number = status.GetInt(s.name, fallback);
        }
    }

    // The desktop label colours as the list view shows them now: they are given back
    // when a label mode is switched off.
    DesktopListTextBkColor.reset();
    DesktopListTextColor.reset();
    CaptureDesktopListColors();

    // The user maintains the filter by hand: names "100" down to "0", gaps allowed.
    // Only the names that are there are read (other names are not entries).
    ClassFilter.clear();
    const fw::ProfileSection filter(profile_, kClassFilter, fw::ProfileSection::Access::Read);
    bool present[kClassFilterLast + 1] = {};
    for (const std::wstring& name : filter.ValueNames()) {
        const int index = fw::DecimalIndex(name, kClassFilterLast);
        if (index >= 0) present[index] = true;
    }
    for (int i = kClassFilterLast; i >= 0; --i) {
        if (!present[i]) continue;
        std::wstring name = filter.GetString(fw::Decimal(i).c_str(), L"");
        if (!name.empty()) ClassFilter.push_back(std::move(name));
    }

    Rules = LoadProgramRules(profile_);
    Keys = LoadHotkeys(profile_);
    loadedKeys_ = Keys;
}

void AppSettings::CaptureDesktopListColors() {
    if (DesktopListTextBkColor && DesktopListTextColor) return;
    const HWND list = shell::FindDesktopListView();
    if (!list) return;
    if (!DesktopListTextBkColor) DesktopListTextBkColor = shell::DesktopListColor(list, LVM_GETTEXTBKCOLOR);
    if (!DesktopListTextColor) DesktopListTextColor = shell::DesktopListColor(list, LVM_GETTEXTCOLOR);
}

void AppSettings::Save() const {
    // The class filter and the captured colours are never written.
    const fw::ProfileSection status(profile_, kStatus, fw::ProfileSection::Access::Write);
    for (const Setting& s : kSettings) {
        if (!s.written) continue;
        if (s.text)
            status.WriteString(s.name, this->*s.text);
        else
            status.WriteInt(s.name, this->*s.number);
    }
    SaveRules();
    // Written once they differ from what was there: a run that changed none adds no key.
    if (Keys != loadedKeys_) SaveHotkeys(profile_, Keys);
}

void AppSettings::SaveRules() const { SaveProgramRules(profile_, Rules); }

}  // namespace app
