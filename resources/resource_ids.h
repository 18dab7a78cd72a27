// Numbers of the suite's user-interface resources: the same in the built-in English set,
// every language file and every skin library.
#pragma once

// Name select dialog.
#define IDD_NAME_SELECT      15021
#define IDC_NAME_LIST1       15016
#define IDC_NAME_LIST2       15017
#define IDC_NAME_EDIT        15018
#define IDC_NAME_PLACE       15019

// Position select dialog.
#define IDD_POS_SELECT       15007
#define IDC_POS_LIST         15000

// Web file download dialog.
#define IDD_WEB_DOWNLOAD     7011
#define IDC_DOWNLOAD_MSG     7215
#define IDC_DOWNLOAD_PROGRESS 7216
#define IDC_DOWNLOAD_ABORT   7217

// Skin of the menu button: three rows (normal, pressed, disabled).
#define IDB_MENU_BUTTON_SKIN 30500

// The application's title.
#define IDS_APP_TITLE        0xE000

// Labels that nothing refers to.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
