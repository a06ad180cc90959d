#include "app_settings.h"

#include <commctrl.h>

#include "decimal.h"
#include "desktop_icon_text.h"

namespace {
constexpr wchar_t kStatus[] = L"Status";
constexpr wchar_t kClassFilter[] = L"ClassFilter";
constexpr int kClassFilterLast = 100;

// The filter entry a value name stands for: "0" to "100" exactly as the numbers are
// written (no sign, no leading zero); -1 for any other name.
int FilterIndex(const std::wstring& name) {
    if (name.empty() || name.size() > 3 || (name.size() > 1 && name[0] == L'0')) return -1;
    int index = 0;
    for (const wchar_t c : name) {
        if (c < L'0' || c > L'9') return -1;
        index = index * 10 + (c - L'0');
    }
    return index <= kClassFilterLast ? index : -1;
}

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

// Every value, in the order in which it is written (reading has no order to keep).
constexpr Setting kSettings[] = {
    Number(L"EnableSClickTP", &SettingsFields::EnableSClickTP, 1),
    Number(L"EnableMClickTP", &SettingsFields::EnableMClickTP, 1),
    Number(L"EnableWheelTP", &SettingsFields::EnableWheelTP, 1),
    Number(L"ClaroviaValue", &SettingsFields::ClaroviaValue, 190),
    Number(L"WheelStep", &SettingsFields::WheelStep, 5),
    Number(L"EnableMoveTP", &SettingsFields::EnableMoveTP, 1),
    Number(L"MoveTPValue", &SettingsFields::MoveTPValue, 190),
    Number(L"EnableMoveTPLimit", &SettingsFields::EnableMoveTPLimit, 0),
    Number(L"MoveTPW", &SettingsFields::MoveTPW, 500),
    Number(L"MoveTPH", &SettingsFields::MoveTPH, 500),
    Number(L"EnableSizingTP", &SettingsFields::EnableSizingTP, 1),
    Number(L"SizingTPValue", &SettingsFields::SizingTPValue, 190),
    Number(L"EnableTaskbarTP", &SettingsFields::EnableTaskbarTP, 1),
    Number(L"EnableStartMenuTP", &SettingsFields::EnableStartMenuTP, 0),
    Number(L"TaskbarTPValue", &SettingsFields::TaskbarTPValue, 190),
    Number(L"EnableShadeTP", &SettingsFields::EnableShadeTP, 1),
    Number(L"ShadeRight", &SettingsFields::ShadeRight, 1),
    Number(L"ShadeArea", &SettingsFields::ShadeArea, 1),
    Computed(L"DefaultHeight", &SettingsFields::DefaultHeight, HalfScreenHeight),
    Number(L"EnableStartButtonTP", &SettingsFields::EnableStartButtonTP, 0),
    Text(L"StartButtonText", &SettingsFields::StartButtonText, L""),
    Number(L"EnableOverlapTP", &SettingsFields::EnableOverlapTP, 0),
    Number(L"EnableTopmostTP", &SettingsFields::EnableTopmostTP, 0),
    Number(L"NoTaskTrayIcon", &SettingsFields::NoTaskTrayIcon, 0),
    Number(L"HideFlag", &SettingsFields::HideFlag, 0),
    Number(L"HideMenu", &SettingsFields::HideMenu, 0),
    Number(L"Startup", &SettingsFields::Startup, 0),
    Number(L"ShowClock", &SettingsFields::ShowClock, 0),
    ReadOnly(L"ShowClockClassName", &SettingsFields::ShowClockClassName, 0),
    Text(L"TimeFormat", &SettingsFields::TimeFormat, kDefaultTimeFormat),
    Number(L"DeskTopIconBkMode", &SettingsFields::DeskTopIconBkMode, 0),
    Number(L"DeskTopIconTextColorMode", &SettingsFields::DeskTopIconTextColorMode, 0),
    Number(L"DeskTopIconTextColor", &SettingsFields::DeskTopIconTextColor, 0x00FFFFFF),
    Number(L"ColumnWidth", &SettingsFields::ColumnWidth, 0),
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
        const int index = FilterIndex(name);
        if (index >= 0) present[index] = true;
    }
    for (int i = kClassFilterLast; i >= 0; --i) {
        if (!present[i]) continue;
        std::wstring name = filter.GetString(fw::Decimal(i).c_str(), L"");
        if (!name.empty()) ClassFilter.push_back(std::move(name));
    }
}

void AppSettings::CaptureDesktopListColors() {
    if (DesktopListTextBkColor && DesktopListTextColor) return;
    const HWND list = FindDesktopListView();
    if (!list) return;
    if (!DesktopListTextBkColor) DesktopListTextBkColor = DesktopListColor(list, LVM_GETTEXTBKCOLOR);
    if (!DesktopListTextColor) DesktopListTextColor = DesktopListColor(list, LVM_GETTEXTCOLOR);
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
}
