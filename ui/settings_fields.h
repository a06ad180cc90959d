// The user's settings as values: one field per registry value of the "Status" key, named
// as the value. The program's settings record (AppSettings) is built on it and adds
// loading, saving and what is not stored; the settings sheet edits these fields.
#pragma once

#include <string>

struct SettingsFields {
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
    int DeskTopIconBkMode{};
    int DeskTopIconTextColorMode{};
    int DeskTopIconTextColor{};
    int ColumnWidth{};
};
