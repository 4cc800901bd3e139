#pragma once

// Strings
#define IDS_APP_TITLE 109
#define IDS_APP_TITLE_GUARDING 110
#define IDS_VALID_NEVER 111
#define IDS_VALID_RUNNING 112
#define IDS_VALID_FOREGROUND 113
#define IDS_EFFECT_SAVER 114
#define IDS_EFFECT_POWER 115
#define IDS_EFFECT_BOTH 116
#define IDS_UNINSTALL_QUESTION 117
#define IDS_UNINSTALL_CAPTION 118

// Command posted by the hook library on user input during an area blackout.
#define ID_AREA_BLACK_WAKE 3728
