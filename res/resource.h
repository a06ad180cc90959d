// Resource identifiers of the program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_HIDDEN 102
#define IDI_APP 128

#define IDS_LIBRARY_LOAD_FAILED 101
#define IDS_SHEET_CAPTION 102
#define IDS_TRAY_TIP 103
// An elevated run refuses a library that a run without elevation could replace.
#define IDS_LIBRARY_UNSAFE_FOLDER 104
// Why 32-bit programs are not served (the about box).
#define IDS_COMPANION_MISSING 105
#define IDS_COMPANION_DAMAGED 106
#define IDS_COMPANION_NO_LIBRARY 107
#define IDS_COMPANION_REFUSED 108

// Tray menu labels.
#define IDS_MENU_SETTINGS 200
#define IDS_MENU_PAUSE 201
#define IDS_MENU_RESUME 202
#define IDS_MENU_ABOUT 203
#define IDS_MENU_EXIT 204
// The item that makes a rule of the last active window: "%1" stands for its program.
#define IDS_MENU_MAKE_RULE 205
#define IDS_MENU_MAKE_RULE_NONE 206

// About box: the library's version line.
#define IDC_LIBRARY_VERSION 1000
// Made at run time under the about box's controls.
#define IDC_COMPANION_PROBLEM 1001

// Tray menu commands.
#define ID_TRAY_SETTINGS 107
#define ID_TRAY_ABOUT 108
#define ID_TRAY_EXIT 109
#define ID_TRAY_PAUSE 111
#define ID_TRAY_MAKE_RULE 112
// The click-through windows' items, one id each from here (at most 16).
#define ID_TRAY_CLICK_THROUGH 120
#define IDS_MENU_CLICK_THROUGH 207

// The settings sheet's pages (dialog templates; their tab captions are the templates'
// captions). The controls of each page, by page.
#define IDD_WINDOW_PAGE 103
#define IDD_MOVE_PAGE 104
#define IDD_SIZE_PAGE 105
#define IDD_TASKBAR_PAGE 106
#define IDD_DESKTOP_PAGE 107
#define IDD_OTHER_PAGE 108
#define IDD_SHADE_PAGE 109

// Window page
#define IDC_WINDOW_GROUP 1023
#define IDC_WINDOW_SCLICK 1005
#define IDC_WINDOW_MCLICK 1008
#define IDC_WINDOW_WHEEL 1002
#define IDC_WINDOW_LEVEL_LABEL 1006
#define IDC_WINDOW_LEVEL 1007
#define IDC_WINDOW_STEP_CAPTION 1011
#define IDC_WINDOW_STEP_EDIT 1014
#define IDC_WINDOW_STEP 1003

// Move page
#define IDC_MOVE_GROUP 1023
#define IDC_MOVE_ENABLE 1008
#define IDC_MOVE_LEVEL_LABEL 1009
#define IDC_MOVE_LEVEL 1010
#define IDC_MOVE_LIMIT 1001
#define IDC_MOVE_WIDTH_CAPTION 1027
#define IDC_MOVE_WIDTH 1025
#define IDC_MOVE_HEIGHT_CAPTION 1028
#define IDC_MOVE_HEIGHT 1026

// Size page
#define IDC_SIZE_GROUP 1023
#define IDC_SIZE_ENABLE 1011
#define IDC_SIZE_LEVEL_LABEL 1012
#define IDC_SIZE_LEVEL 1013

// Taskbar page
#define IDC_TASKBAR_GROUP 1024
#define IDC_TASKBAR_ENABLE 1004
#define IDC_TASKBAR_LEVEL_LABEL 1014
#define IDC_TASKBAR_LEVEL 1000
#define IDC_TASKBAR_START_MENU 1006
#define IDC_START_BUTTON_GROUP 1023
#define IDC_START_BUTTON_ENABLE 1005
#define IDC_START_BUTTON_CAPTION 1022
#define IDC_START_BUTTON_TEXT 1021

// Desktop page
#define IDC_DESKTOP_GROUP 1023
#define IDC_DESKTOP_BK_MODE 1019
#define IDC_DESKTOP_COLOR_MODE 1017
#define IDC_DESKTOP_SWATCH_CAPTION 1020
#define IDC_DESKTOP_SWATCH 1018
#define IDC_DESKTOP_CHOOSE 1015

// Shade page
#define IDC_SHADE_DOUBLE_CLICK 1003
#define IDC_SHADE_LEFT_HALF 1002
#define IDC_SHADE_RIGHT_HALF 1005
#define IDC_SHADE_WHOLE 1007
#define IDC_SHADE_RIGHT_CLICK 1006

// Other page
#define IDC_OTHER_TOPMOST 1004
#define IDC_OTHER_OVERLAP 1001
#define IDC_OTHER_NO_TRAY_ICON 1008
#define IDC_OTHER_HIDE_MENU 1024
#define IDC_OTHER_HIDE_FLAG 1022
#define IDC_OTHER_STARTUP 1009
#define IDC_OTHER_CLOCK 1010

// The level label's three forms and the pages' tooltips.
#define IDS_LEVEL_BELOW_10 300
#define IDS_LEVEL_BELOW_100 301
#define IDS_LEVEL 302
#define IDS_TIP_SHADE_RIGHT_CLICK 303
#define IDS_TIP_DESKTOP 304
#define IDS_TIP_NO_TRAY_ICON 305

// The rules per program: their page and the dialog of one rule, with their controls
// and texts.
#define IDD_RULES_PAGE 110
#define IDD_RULE_DIALOG 111
#define IDC_RULES_LIST 1030
#define IDC_RULES_ADD 1031
#define IDC_RULES_CHANGE 1032
#define IDC_RULES_DELETE 1033
#define IDC_RULE_WINDOWS_CAPTION 1034
#define IDC_RULE_WINDOWS 1035
#define IDC_RULE_PROGRAM_CAPTION 1036
#define IDC_RULE_PROGRAM 1037
#define IDC_RULE_ONLY_CLASS 1038
#define IDC_RULE_CLASS 1039
#define IDC_RULE_TRANSLUCENT 1040
#define IDC_RULE_LEVEL_LABEL 1041
#define IDC_RULE_LEVEL 1042
#define IDC_RULE_ON_TOP 1043
#define IDC_RULE_CLICK_THROUGH 1044
#define IDC_RULE_WHILE_INACTIVE 1045
#define IDS_RULES_COLUMN_PROGRAM 310
#define IDS_RULES_COLUMN_CLASS 311
#define IDS_RULES_COLUMN_LEVEL 312
#define IDS_RULES_COLUMN_ON_TOP 313
#define IDS_RULES_COLUMN_TITLE 314
#define IDS_RULES_ANY_CLASS 315
#define IDS_RULES_NO_LEVEL 316
#define IDS_RULES_ON_TOP 317

// The hotkeys' page: four controls a row, the row's number added to each first id.
#define IDD_KEYS_PAGE 112
#define IDC_KEYS_ON 1050
#define IDC_KEYS_WIN 1060
#define IDC_KEYS_KEY 1070
#define IDC_KEYS_STATE 1080
#define IDS_KEYS_TAKEN 320
