// The program's settings record: one field per registry value (same names), the
// class filter, and the two desktop label colours captured at load. It loads itself
// when constructed and writes itself back when destroyed. Which values exist, their
// defaults and their order live in one table (app_settings.cpp).
#pragma once

#include <windows.h>

#include <string>

#include "class_filter.h"
#include "profile.h"

inline constexpr wchar_t kDefaultTimeFormat[] = L"%y/%m/%d %H:%M:%S";

class AppSettings {
public:
    explicit AppSettings(const fw::Profile& profile);
    ~AppSettings();
    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    void Load();
    void Save() const;

    int EnableSClickTP{};
    int EnableMClickTP{};
    int EnableWheelTP{};
    int ClaroviaValue{};
    int WheelStep{};
    int EnableMoveTP{};
    int MoveTPValue{};
    int EnableMoveTPLimit{};
    int MoveTPW{};
    int MoveTPH{};
    int EnableSizingTP{};
    int SizingTPValue{};
    int EnableTaskbarTP{};
    int EnableStartMenuTP{};
    int TaskbarTPValue{};
    int EnableShadeTP{};
    int ShadeRight{};
    int ShadeArea{};
    int DefaultHeight{};
    int EnableStartButtonTP{};
    std::wstring StartButtonText;
    int EnableOverlapTP{};
    int EnableTopmostTP{};
    int NoTaskTrayIcon{};
    int HideFlag{};
    int HideMenu{};
    int Startup{};
    int ShowClock{};
    int ShowClockClassName{};
    std::wstring TimeFormat;
    COLORREF DesktopListTextBkColor{};  // captured at load, not stored
    COLORREF DesktopListTextColor{};    // captured at load, not stored
    int DeskTopIconBkMode{};
    int DeskTopIconTextColorMode{};
    int DeskTopIconTextColor{};
    int ColumnWidth{};
    ClassFilterList ClassFilter;

private:
    const fw::Profile& profile_;
};
