#include "app_settings.h"

#include "desktop_listview.h"

namespace {
constexpr wchar_t kStatus[] = L"Status";
constexpr wchar_t kClassFilter[] = L"ClassFilter";
constexpr int kClassFilterLast = 100;
}  // namespace

AppSettings::AppSettings(const fw::Profile& profile) : profile_(profile) { Load(); }

AppSettings::~AppSettings() { Save(); }

void AppSettings::Load() {
    const fw::Profile& p = profile_;
    // Read in this order; a missing value gives its default, nothing is range-tested.
    EnableSClickTP = p.GetInt(kStatus, L"EnableSClickTP", 1);
    EnableMClickTP = p.GetInt(kStatus, L"EnableMClickTP", 1);
    EnableWheelTP = p.GetInt(kStatus, L"EnableWheelTP", 1);
    ClaroviaValue = p.GetInt(kStatus, L"ClaroviaValue", 190);
    WheelStep = p.GetInt(kStatus, L"WheelStep", 5);
    EnableMoveTP = p.GetInt(kStatus, L"EnableMoveTP", 1);
    MoveTPValue = p.GetInt(kStatus, L"MoveTPValue", 190);
    EnableMoveTPLimit = p.GetInt(kStatus, L"EnableMoveTPLimit", 0);
    MoveTPW = p.GetInt(kStatus, L"MoveTPW", 500);
    MoveTPH = p.GetInt(kStatus, L"MoveTPH", 500);
    EnableSizingTP = p.GetInt(kStatus, L"EnableSizingTP", 1);
    SizingTPValue = p.GetInt(kStatus, L"SizingTPValue", 190);
    EnableTaskbarTP = p.GetInt(kStatus, L"EnableTaskbarTP", 1);
    TaskbarTPValue = p.GetInt(kStatus, L"TaskbarTPValue", 190);
    EnableStartMenuTP = p.GetInt(kStatus, L"EnableStartMenuTP", 0);
    EnableShadeTP = p.GetInt(kStatus, L"EnableShadeTP", 1);
    ShadeRight = p.GetInt(kStatus, L"ShadeRight", 1);
    ShadeArea = p.GetInt(kStatus, L"ShadeArea", 1);
    DefaultHeight = p.GetInt(kStatus, L"DefaultHeight", GetSystemMetrics(SM_CYSCREEN) / 2);
    EnableStartButtonTP = p.GetInt(kStatus, L"EnableStartButtonTP", 0);
    StartButtonText = p.GetString(kStatus, L"StartButtonText", L"");
    EnableOverlapTP = p.GetInt(kStatus, L"EnableOverlapTP", 0);
    EnableTopmostTP = p.GetInt(kStatus, L"EnableTopmostTP", 0);
    NoTaskTrayIcon = p.GetInt(kStatus, L"NoTaskTrayIcon", 0);
    HideFlag = p.GetInt(kStatus, L"HideFlag", 0);
    HideMenu = p.GetInt(kStatus, L"HideMenu", 0);
    Startup = p.GetInt(kStatus, L"Startup", 0);
    ShowClock = p.GetInt(kStatus, L"ShowClock", 0);
    ShowClockClassName = p.GetInt(kStatus, L"ShowClockClassName", 0);
    TimeFormat = p.GetString(kStatus, L"TimeFormat", kDefaultTimeFormat);

    const HWND list = FindDesktopListView();
    DesktopListTextBkColor = list ? DesktopListColor(list, LVM_GETTEXTBKCOLOR) : 0;
    DesktopListTextColor = list ? DesktopListColor(list, LVM_GETTEXTCOLOR) : 0;

    DeskTopIconBkMode = p.GetInt(kStatus, L"DeskTopIconBkMode", 0);
    DeskTopIconTextColorMode = p.GetInt(kStatus, L"DeskTopIconTextColorMode", 0);
    DeskTopIconTextColor = p.GetInt(kStatus, L"DeskTopIconTextColor", 0x00FFFFFF);
    ColumnWidth = p.GetInt(kStatus, L"ColumnWidth", 0);

    ClassFilter.clear();
    for (int i = kClassFilterLast; i >= 0; --i) {
        std::wstring name = p.GetString(kClassFilter, std::to_wstring(i).c_str(), L"");
        if (!name.empty()) ClassFilter.push_back(std::move(name));
    }
}

void AppSettings::Save() const {
    const fw::Profile& p = profile_;
    // "ShowClockClassName" and the class filter are only ever read.
    p.WriteInt(kStatus, L"EnableSClickTP", EnableSClickTP);
    p.WriteInt(kStatus, L"EnableMClickTP", EnableMClickTP);
    p.WriteInt(kStatus, L"EnableWheelTP", EnableWheelTP);
    p.WriteInt(kStatus, L"ClaroviaValue", ClaroviaValue);
    p.WriteInt(kStatus, L"WheelStep", WheelStep);
    p.WriteInt(kStatus, L"EnableMoveTP", EnableMoveTP);
    p.WriteInt(kStatus, L"MoveTPValue", MoveTPValue);
    p.WriteInt(kStatus, L"EnableMoveTPLimit", EnableMoveTPLimit);
    p.WriteInt(kStatus, L"MoveTPW", MoveTPW);
    p.WriteInt(kStatus, L"MoveTPH", MoveTPH);
    p.WriteInt(kStatus, L"EnableSizingTP", EnableSizingTP);
    p.WriteInt(kStatus, L"SizingTPValue", SizingTPValue);
    p.WriteInt(kStatus, L"EnableTaskbarTP", EnableTaskbarTP);
    p.WriteInt(kStatus, L"EnableStartMenuTP", EnableStartMenuTP);
    p.WriteInt(kStatus, L"TaskbarTPValue", TaskbarTPValue);
    p.WriteInt(kStatus, L"EnableShadeTP", EnableShadeTP);
    p.WriteInt(kStatus, L"ShadeRight", ShadeRight);
    p.WriteInt(kStatus, L"ShadeArea", ShadeArea);
    p.WriteInt(kStatus, L"DefaultHeight", DefaultHeight);
    p.WriteInt(kStatus, L"EnableStartButtonTP", EnableStartButtonTP);
    p.WriteString(kStatus, L"StartButtonText", StartButtonText);
    p.WriteInt(kStatus, L"EnableOverlapTP", EnableOverlapTP);
    p.WriteInt(kStatus, L"EnableTopmostTP", EnableTopmostTP);
    p.WriteInt(kStatus, L"NoTaskTrayIcon", NoTaskTrayIcon);
    p.WriteInt(kStatus, L"HideFlag", HideFlag);
    p.WriteInt(kStatus, L"HideMenu", HideMenu);
    p.WriteInt(kStatus, L"Startup", Startup);
    p.WriteInt(kStatus, L"ShowClock", ShowClock);
    p.WriteString(kStatus, L"TimeFormat", TimeFormat);
    p.WriteInt(kStatus, L"DeskTopIconBkMode", DeskTopIconBkMode);
    p.WriteInt(kStatus, L"DeskTopIconTextColorMode", DeskTopIconTextColorMode);
    p.WriteInt(kStatus, L"DeskTopIconTextColor", DeskTopIconTextColor);
    p.WriteInt(kStatus, L"ColumnWidth", ColumnWidth);
}
