// The program's settings record: one field per registry value (same names), the
// class filter, and the two desktop label colours captured at load. It loads itself
// when constructed and writes itself back when destroyed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

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

    int EnableSClickTP = 1;
    int EnableMClickTP = 1;
    int EnableWheelTP = 1;
    int ClaroviaValue = 190;
    int WheelStep = 5;
    int EnableMoveTP = 1;
    int MoveTPValue = 190;
    int EnableMoveTPLimit = 0;
    int MoveTPW = 500;
    int MoveTPH = 500;
    int EnableSizingTP = 1;
    int SizingTPValue = 190;
    int EnableTaskbarTP = 1;
    int EnableStartMenuTP = 0;
    int TaskbarTPValue = 190;
    int EnableShadeTP = 1;
    int ShadeRight = 1;
    int ShadeArea = 1;
    int DefaultHeight = 0;
    int EnableStartButtonTP = 0;
    std::wstring StartButtonText;
    int EnableOverlapTP = 0;
    int EnableTopmostTP = 0;
    int NoTaskTrayIcon = 0;
    int HideFlag = 0;
    int HideMenu = 0;
    int Startup = 0;
    int ShowClock = 0;
    int ShowClockClassName = 0;
    std::wstring TimeFormat = kDefaultTimeFormat;
    COLORREF DesktopListTextBkColor = 0;  // captured at load, not stored
    COLORREF DesktopListTextColor = 0;    // captured at load, not stored
    int DeskTopIconBkMode = 0;
    int DeskTopIconTextColorMode = 0;
    int DeskTopIconTextColor = 0x00FFFFFF;
    int ColumnWidth = 0;
    std::vector<std::wstring> ClassFilter;

private:
    const fw::Profile& profile_;
};
