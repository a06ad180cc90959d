// Resource identifiers of the program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_HIDDEN 102
#define IDI_APP 128

#define IDS_LIBRARY_LOAD_FAILED 101
#define IDS_SHEET_CAPTION 102
#define IDS_TRAY_TIP 103

// Tray menu labels.
#define IDS_MENU_SETTINGS 200
#define IDS_MENU_PAUSE 201
#define IDS_MENU_RESUME 202
#define IDS_MENU_ABOUT 203
#define IDS_MENU_EXIT 204

// About box: the library's version line.
#define IDC_LIBRARY_VERSION 1000

// Tray menu commands.
#define ID_TRAY_SETTINGS 107
#define ID_TRAY_ABOUT 108
#define ID_TRAY_EXIT 109
#define ID_TRAY_PAUSE 111
