// The program's settings record: one field per registry value (same names, in
// SettingsFields, which the settings sheet edits) and the rules per program, the class
// filter, and the two desktop label colours captured at load. It loads itself when constructed and writes
// itself back when destroyed. Which values exist, their defaults and their order live
// in one table (model/settings_table.h).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "class_filter.h"
#include "profile.h"
#include "settings_fields.h"

namespace app {

class AppSettings : public SettingsFields {
public:
    explicit AppSettings(const fw::Profile& profile);
    ~AppSettings();
    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    void Load();
    void Save() const;
    // The rules per program alone (written when the sheet applies, too).
    void SaveRules() const;

    // The desktop list view's own label colours, captured at load (or, if it did not
    // answer then, as soon as it does); never stored.
    std::optional<COLORREF> DesktopListTextBkColor;
    std::optional<COLORREF> DesktopListTextColor;
    // Reads those of the two colours that are not known yet.
    void CaptureDesktopListColors();
    shell::ClassFilterList ClassFilter;

private:
    const fw::Profile& profile_;
    Hotkeys loadedKeys_;
};

}  // namespace app
