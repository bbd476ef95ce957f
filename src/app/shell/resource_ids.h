#pragma once
// Identifiers shared by the resource script and the program.

#define IDI_ORVANE 106
#define IDD_MAIN 107
#define IDR_MAIN_MENU 108
#define IDD_LICENSE 104
#define IDD_CHANGELOG 105
#define IDD_ABOUT 106
#define IDD_PREFERENCES 108
#define IDD_GOTO_LINE 124
#define IDD_GOTO_OFFSET 125
#define IDD_SWITCH 126
#define IDD_FIND 127
#define IDD_REPLACE 128

#define IDC_LICENSE_TEXT 1002
#define IDC_EDITOR 1003
#define IDC_CHANGELOG_SCREEN 1003
#define IDC_PREFERENCES_RIGHT 1004
#define IDC_PREFERENCES_LEFT 1005
#define IDC_SWITCH_LIST 1017
#define IDC_ABOUT_FRAME 1081
#define IDC_INPUT 1016
#define IDC_INPUT_SECOND 1017

#include "editor/menu_ids.h"
