// Resource and control numbers. One section per subsystem; the numbers are
// fixed (stored nowhere, but other tools and tests find controls by them).
#pragma once

// ---- icons ----
#define IDI_FUMORA 101  // 32 x 32: the program (About box)
#define IDI_QUIT_STATS 102  // the view strip's four buttons
#define IDI_BUDDIES 103
#define IDI_DAYS_AHEAD 104
#define IDI_MILESTONES 105
#define IDI_CLIPBOARD 106  // the statistics view's copy button
#define IDI_FUMORA_SMALL 107  // 16 x 16: window and notification-area icon

// ---- application shell: main window 1000, menus 10000/10100, About 9000 ----
#define IDD_MAIN 1000
#define IDC_TITLE_LABEL 1001
#define IDC_TITLE_BAND 1002

#define IDR_MAIN_MENU 10000
#define IDM_FILE 10001
#define IDM_EXIT 10002
#define IDM_EDIT 10003
#define IDM_COPY_STATS 10004
#define IDM_PREFERENCES 10005
#define IDM_VIEW 10006
#define IDM_VIEW_STATISTICS 10007
#define IDM_VIEW_MILESTONES 10008
#define IDM_VIEW_BUDDIES 10009
#define IDM_VIEW_DAYS_AHEAD 10010
#define IDM_HELP 10011
#define IDM_ABOUT 10012
#define IDM_EDIT_SEPARATOR 10013
#define IDM_EDIT_QUIT_DETAILS 10014

#define IDR_TRAY_MENU 10100
#define IDM_TRAY_RESTORE 10101  // sent by the tray commands, not a menu item
#define IDM_TRAY_STATISTICS 10102
#define IDM_TRAY_MILESTONES 10103
#define IDM_TRAY_BUDDIES 10104
#define IDM_TRAY_DAYS_AHEAD 10105
#define IDM_TRAY_COPY_STATS 10106
#define IDM_TRAY_EXIT 10107

#define IDD_ABOUT 9000
#define IDC_ABOUT_NAME 9001
#define IDC_ABOUT_OK 9004
#define IDC_ABOUT_RULE 9005

// ---- first-run wizard 7000 ----
#define IDD_FIRST_RUN 7000
#define IDC_FR_FRAME 7001
#define IDC_FR_NAME 7002
#define IDC_FR_PER_DAY 7003
#define IDC_FR_PRICE 7004
#define IDC_FR_DATE 7005
#define IDC_FR_PER_PACK 7006
#define IDC_FR_NAME_LABEL 7007
#define IDC_FR_PER_DAY_LABEL 7008
#define IDC_FR_PRICE_LABEL 7009
#define IDC_FR_DATE_LABEL 7010
#define IDC_FR_PER_PACK_LABEL 7011
#define IDC_FR_TITLE 7012
#define IDC_FR_INTRO 7013
#define IDC_FR_CURRENCY 7014
#define IDC_FR_CONTINUE 7015
#define IDC_FR_CANCEL 7016
#define IDC_FR_TIME 7020

// ---- statistics view 4000 ----
#define IDD_STATISTICS 4000
#define IDC_STATS_BORDER 4001
#define IDC_STATS_QUIT_CAPTION 4002
#define IDC_STATS_DAYS_CAPTION 4003
#define IDC_STATS_CIGS_CAPTION 4004
#define IDC_STATS_MONEY_CAPTION 4005
#define IDC_STATS_LIFE_CAPTION 4006
#define IDC_STATS_CLIPBOARD_GROUP 4007
#define IDC_STATS_DAYS 4008
#define IDC_STATS_CIGS 4009
#define IDC_STATS_SEPARATOR 4010
#define IDC_STATS_COPY_LABEL 4011
#define IDC_STATS_HOTKEY_GROUP 4012
#define IDC_STATS_MONEY 4013
#define IDC_STATS_LIFE 4014
#define IDC_STATS_HINT 4015
#define IDC_STATS_HOTKEY_NAME 4019
#define IDC_STATS_CLIPBOARD_BUTTON 2  // made at run time
#define IDI_STATS_CLIPBOARD 106

// ---- milestones view 5000 ----
#define IDD_MILESTONES 5000
#define IDC_MILESTONES_FRAME 5001
#define IDC_MILESTONES_LIST 5002
#define IDC_MILESTONES_NEXT 5003

// ---- buddies view 2000 ----
#define IDD_BUDDIES 2000
#define IDC_BUDDY_FRAME 2001
#define IDC_BUDDY_LIST 2002
#define IDC_BUDDY_NEW 2003
#define IDC_BUDDY_CHANGE 2004
#define IDC_BUDDY_DELETE 2005

// ---- days ahead view 3000 ----
#define IDD_DAYS_AHEAD 3000
#define IDC_DAYS_AHEAD_FRAME 3001
#define IDC_DAYS_AHEAD_LIST 3002
#define IDC_LEGEND_BAND 3003
#define IDC_LEGEND_TODAY_SWATCH 3004
#define IDC_LEGEND_TODAY 3005
#define IDC_LEGEND_TOMORROW 3006
#define IDC_LEGEND_TOMORROW_SWATCH 3007

// ---- quit details 7500, price point ----

// ---- preferences 8000 ----
