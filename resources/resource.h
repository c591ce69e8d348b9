// Resource and command identifiers shared by the resource script and the program.
// Plain #defines: the resource compiler reads this file too.
#pragma once

#define IDI_APPTBOOK 275

// Menu and accelerator commands of the main window.
#define CMD_CURRENT_PATIENT_NEW_APPT 120
#define CMD_SELECT_PATIENT_NEW_APPT 121
#define CMD_LOCATE_APPOINTMENT 122
#define CMD_BREAK_APPOINTMENT 123
#define CMD_DELETE_APPOINTMENT 124
#define CMD_PURGE_APPOINTMENTS 125
#define CMD_DIAL 126
#define CMD_FIND_NEW_TIME 127
#define CMD_REFRESH 128
#define CMD_SET_COMPLETE 129
#define CMD_VIEW 130
#define CMD_PRACTICE_SETUP 140
#define CMD_PROVIDER_SETUP 141
#define CMD_PRACTICE_SCHEDULE 142
#define CMD_FONT_SELECT 143
#define CMD_FLIP_TABS_SETUP 144
#define CMD_EXIT 145
#define CMD_DAY_VIEW 150
#define CMD_WEEK_VIEW 151
#define CMD_MONTH_VIEW 152
#define CMD_APPT_LIST 375
#define CMD_ASAP_LIST 376
#define CMD_UNSCHEDULED_LIST 378
#define CMD_OTHER_APPOINTMENTS 380
#define CMD_ALERTS_NOTES 381
#define CMD_INSURANCE_INFO 382
#define CMD_NEW_PATIENT_INFO 384
#define CMD_PATIENT_PICTURE 386
#define CMD_IDEAL_DAY 388
#define CMD_TREATMENT_MANAGER 389
#define CMD_VIEW_10 390
#define CMD_PATIENT_ALERTS 393
#define CMD_VIEW_1 395
#define CMD_LAB_CASE_MANAGER 404
#define CMD_PRINT_VIEW 610
#define CMD_PRINT_ROUTE_SLIP 620
#define CMD_HELP_CONTENTS 700
#define CMD_HELP_USING 701
#define CMD_ABOUT 702
#define CMD_TUTORIAL 703
#define CMD_FLIP_TAB_1 800
#define CMD_DAY_VIEW_KEY 804
#define CMD_WEEK_VIEW_KEY 805
#define CMD_MONTH_VIEW_KEY 806

// String table of the About box.
#define IDS_VERSION 1001
#define IDS_PROGRAM_NAME 1002
#define IDS_ABOUT_TITLE 1003

// The font dialog's own button beside the standard controls of the font selection dialog.
#define IDC_FONT_DEFAULT 1200

// The name-and-password dialog of the rights checks.
#define IDC_PASSWORD_PROMPT 1210
#define IDC_PASSWORD_FAILURE 1211
#define IDC_PASSWORD_NAME 1212
#define IDC_PASSWORD_TEXT 1213
