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

// --- Views, flip tabs and the resource selection list: the Select View and Edit View dialogs,
// --- the Flip Tabs Setup dialog and the Select resource dialog.
#define IDC_VIEW_LIST 1400
#define IDC_VIEW_SELECT 1401
#define IDC_VIEW_EDIT 1402
#define IDC_VIEW_NEW 1403
#define IDC_VIEW_DELETE 1404
#define IDC_SETVIEW_PROVIDERS 1410
#define IDC_SETVIEW_ALL_PROVIDERS 1411
#define IDC_SETVIEW_OPERATORIES 1412
#define IDC_SETVIEW_ALL_OPERATORIES 1413
#define IDC_SETVIEW_SUNDAY 1414   // 1414-1420: Sunday to Saturday
#define IDC_SETVIEW_AMOUNT 1421
#define IDC_SETVIEW_NOTES 1422
#define IDC_SETVIEW_ALERTS 1423
#define IDC_SETVIEW_START 1424
#define IDC_SETVIEW_START_AM 1425
#define IDC_SETVIEW_START_PM 1426
#define IDC_SETVIEW_END 1427
#define IDC_SETVIEW_END_AM 1428
#define IDC_SETVIEW_END_PM 1429
#define IDC_SETVIEW_LINE1 1430    // 1430-1438: the nine line combo boxes
#define IDC_USERTAB_PAGES 1450
#define IDC_USERTAB_ROW1 1460     // row r (0-3) uses IDC_USERTAB_ROW1 + 20 * r + the offsets below
#define USERTAB_LABEL 0
#define USERTAB_DESCRIPTION 1
#define USERTAB_COLOUR 2
#define USERTAB_TYPE 3
#define USERTAB_DATE 4
#define USERTAB_PICK 5
#define USERTAB_COUNT 6
#define USERTAB_SPIN 7
#define USERTAB_UNIT 8
#define USERTAB_DIRECTION 9
#define USERTAB_BASE 10
#define IDC_SELECT_RSC_LIST 1540
#define IDC_SELECT_RSC_INACTIVE 1541

// --- Time Block Edit (DLG_CHANGETB): one time block's start and end on one date.
#define IDC_CHANGETB_CLEAR 5
#define IDC_CHANGETB_DEFAULT 104
#define IDC_CHANGETB_START 284
#define IDC_CHANGETB_START_HOUR 285
#define IDC_CHANGETB_START_MINUTE 286
#define IDC_CHANGETB_START_HALF 287
#define IDC_CHANGETB_END 291
#define IDC_CHANGETB_END_HOUR 292
#define IDC_CHANGETB_END_MINUTE 293
#define IDC_CHANGETB_END_HALF 294

// --- The About box (DLG_ABOUT): the picture, the program's name, its version, the data directory.
#define IDB_ABOUT 201
#define IDC_ABOUT_PICTURE 1220
#define IDC_ABOUT_NAME 1221
#define IDC_ABOUT_VERSION 1222
#define IDC_ABOUT_DATA 1223
// --- Select Patient (LB_DLG_PATFIND) and More Information (LB_DLG_MOREINFO). The six key radio
// --- buttons carry the numbers that [SELPAT] SelectBy stores.
#define IDC_PATFIND_LASTNAME 148
#define IDC_PATFIND_FIRSTNAME 149
#define IDC_PATFIND_PREFERRED 150
#define IDC_PATFIND_PHONE 151
#define IDC_PATFIND_CHART 152
#define IDC_PATFIND_SSN 153
#define IDC_PATFIND_PROMPT 1600
#define IDC_PATFIND_ENTRY 1601
#define IDC_PATFIND_CLEAR 1602
#define IDC_PATFIND_SEARCH 1603
#define IDC_PATFIND_COLUMN4 1604
#define IDC_PATFIND_LIST 1605
#define IDC_PATFIND_RECENT 1606
#define IDC_PATFIND_NEW 1607
#define IDC_PATFIND_MOREINFO 1608
#define IDC_PATFIND_ARCHIVED 1609
#define IDC_PATFIND_CHAR_A 1610   // 1610-1635: the letter buttons A to Z
#define IDC_PATFIND_CHAR_0 1640   // 1640-1649: the digit buttons 0 to 9
#define IDC_PATFIND_COMMA 1650
#define IDC_MOREINFO_FAMILY 1660
#define IDC_MOREINFO_APPTS 1661
#define IDC_MOREINFO_SELECT 1662
#define IDC_MOREINFO_DIAL 1663
#define IDC_MOREINFO_NAME 1664
#define IDC_MOREINFO_STREET 1665
#define IDC_MOREINFO_CITY 1666
#define IDC_MOREINFO_HOME 1667
#define IDC_MOREINFO_WORK 1668
#define IDC_MOREINFO_CHART 1669
#define IDC_MOREINFO_STATUS 1670
#define IDC_MOREINFO_LABCASE 1671
// --- Appointment Information (DLG_RS_EDITAPPT): the numbers of its controls. The twelve flag
// --- boxes are IDC_APPT_FLAG_1 + 0 to 11.
#define IDC_APPT_FIND 18
#define IDC_APPT_PROVIDER 23
#define IDC_APPT_PROVIDER_PICK 24
#define IDC_APPT_OPERATORY 25
#define IDC_APPT_OPERATORY_PICK 26
#define IDC_APPT_DATE 29
#define IDC_APPT_DATE_PICK 30
#define IDC_APPT_TIME 31
#define IDC_APPT_TIME_PICK 32
#define IDC_APPT_REASONS 36
#define IDC_APPT_REASON_INITIAL 37
#define IDC_APPT_REASON_TX 38
#define IDC_APPT_REASON_MISC 39
#define IDC_APPT_LENGTH 40
#define IDC_APPT_REASON_DELETE 41
#define IDC_APPT_REASON_DELETE_ALL 42
#define IDC_APPT_WAIT 48
#define IDC_APPT_SCHEDULE_NEXT 49
#define IDC_APPT_AMOUNT 53
#define IDC_APPT_PATTERN 55
#define IDC_APPT_STATUS 56
#define IDC_APPT_STAFF 60
#define IDC_APPT_STAFF_PICK 61
#define IDC_APPT_SCHEDULE 62
#define IDC_APPT_TYPE 63
#define IDC_APPT_CARE 64
#define IDC_APPT_CARE_PICK 65
#define IDC_APPT_PATIENT_INFO 67
#define IDC_APPT_OTHER_APPTS 68
#define IDC_APPT_CLAIM_INFO 69
#define IDC_APPT_DIAL 70
#define IDC_APPT_LAB_CASE 72
#define IDC_APPT_ATTACH_CASE 73
#define IDC_APPT_LAST_CHANGED 74
#define IDC_APPT_DESCRIPTION 82
#define IDC_APPT_DATELINE 91
#define IDC_APPT_FLAG_1 242
#define IDC_APPT_NOTE 301
#define IDC_APPT_UPDATE_CARE 378
#define IDC_APPT_SET_AMOUNT 380
#define IDC_APPT_PIN_BOARD 8
// The dialog's OK button, for core code that names the control to focus without <windows.h>.
#define IDC_APPT_OK 1

// --- The appointment dialog's pickers: Select Initial Reasons (DLG_INITREASONS), Treatment Plan
// --- (DLG_RS_TREATPLAN), the one-code pick behind "&Misc." (DLG_MISCREASON), Select Time
// --- (DLG_SETTIME: the bar and its three texts keep their numbers 284-287) and Appointment Time
// --- Pattern (DLG_TIMEPATTERN).
#define IDC_INITREASONS_LIST 1700
#define IDC_TREATPLAN_LIST 1710
#define IDC_MISCREASON_LIST 1720
#define IDC_SETTIME_BAR 284
#define IDC_SETTIME_HOUR 285
#define IDC_SETTIME_MINUTE 286
#define IDC_SETTIME_HALF 287
#define IDC_TIMEPATTERN_UNITS 1730
#define IDC_TIMEPATTERN_COUNT 1731
#define IDC_TIMEPATTERN_TOTAL 1732
#define IDC_TIMEPATTERN_UNIT1 1740   // 1740-1763: the 24 units, first to last

// --- Enter New Patient Information (DLG_RS_EDITPAT), the referrer's kind (PF_DLG_REF_TYPE), the
// --- referral source search (DLG_REF_FIND) and the insurance claim information (DLG_CLAIMINFO).
#define IDC_EDITPAT_LAST 1900
#define IDC_EDITPAT_FIRST 1901
#define IDC_EDITPAT_INITIAL 1902
#define IDC_EDITPAT_PHONE 1903
#define IDC_EDITPAT_STREET 1904
#define IDC_EDITPAT_STREET2 1905
#define IDC_EDITPAT_CITY 1906
#define IDC_EDITPAT_STATE_CAPTION 1907
#define IDC_EDITPAT_STATE 1908
#define IDC_EDITPAT_ZIP_CAPTION 1909
#define IDC_EDITPAT_ZIP 1910
#define IDC_EDITPAT_REFERRER 1911
#define IDC_EDITPAT_REFERRER_PICK 1912
#define IDC_EDITPAT_REFERRER_REMOVE 1913
#define IDC_REFTYPE_PATIENT 1920
#define IDC_REFTYPE_SOURCE 1921
#define IDC_REFFIND_ENTRY 1930
#define IDC_REFFIND_LIST 1931
#define IDC_CLAIMINFO_LIST 1940
// --- Family Appointment List (DLG_OTHERAPPTS), Locate Existing Appointment (DLG_PATFIND2) and its
// --- by-patient form (LB_DLG_FINDAPPT), the day note (DLG_APPTNOTE).
#define IDC_OTHERAPPTS_FAMILY 230
#define IDC_OTHERAPPTS_APPTS 310
#define IDC_OTHERAPPTS_TXPLAN 311
#define IDC_OTHERAPPTS_VIEW 1700
#define IDC_OTHERAPPTS_NEW 1701
#define IDC_PATFIND2_LIST 903
#define IDC_PATFIND2_NAME 904
#define IDC_PATFIND2_SEARCH 1710
#define IDC_PATFIND2_CLEAR 1711
#define IDC_PATFIND2_VIEW 1712
#define IDC_PATFIND2_CHAR_A 1720  // 1720-1745: the letter buttons A to Z
#define IDC_APPTNOTE_TEXT 3
#define IDC_APPTNOTE_CLEAR 5
// --- Notes - Alerts - Check List (DLG_NOTES) and the medical alert editor (DLG_MEDALERTS).
#define IDC_NOTES_PATIENT 300
#define IDC_NOTES_APPOINTMENT 301
#define IDC_NOTES_ALERTS 302
#define IDC_NOTES_GUARANTOR 303
#define IDC_NOTES_EDIT_ALERTS 314
#define IDC_MEDALERTS_LIST 1730
// --- Attach Lab Cases (DLG_ATTACHCASES): the appointment's cases and the entry line under them.
#define IDC_ATTACHCASES_LIST 2300
#define IDC_ATTACHCASES_NUMBER 2301
#define IDC_ATTACHCASES_LAB 2302
#define IDC_ATTACHCASES_STATE 2303
#define IDC_ATTACHCASES_DUE 2304
#define IDC_ATTACHCASES_ATTACH 2305
#define IDC_ATTACHCASES_REMOVE 2306
// --- Find New Appointment Time (DLG_FIND_TIME) and its result list (DLG_FOUND_TIMES).
#define IDC_FINDTIME_PROVIDERS 201
#define IDC_FINDTIME_SEARCH_VIEW 202
#define IDC_FINDTIME_OPERATORIES 210
#define IDC_FINDTIME_SUNDAY 211  // 211-217: Sunday to Saturday
#define IDC_FINDTIME_DATE 235
#define IDC_FINDTIME_DATE_PICK 236
#define IDC_FINDTIME_ASSIGNED 237
#define IDC_FINDTIME_DAYS 238
#define IDC_FINDTIME_WEEKS 239
#define IDC_FINDTIME_MONTHS 240
#define IDC_FINDTIME_QUICK_1 242  // 242-247: quick buttons 1 to 6
#define IDC_FINDTIME_LENGTH 272
#define IDC_FINDTIME_LENGTH_SPIN 273
#define IDC_FINDTIME_CLEAR_DAYS 279
#define IDC_FINDTIME_FROM 280
#define IDC_FINDTIME_TO 281
#define IDC_FINDTIME_FROM_PICK 282
#define IDC_FINDTIME_TO_PICK 283
#define IDC_FINDTIME_BLOCKS 285
#define IDC_FINDTIME_BY_TYPE 408
#define IDC_FINDTIME_TYPES 409
#define IDC_FINDTIME_BY_BLOCK 410
#define IDC_FINDTIME_ALL_PROVIDERS 411
#define IDC_FINDTIME_ALL_OPERATORIES 412
#define IDC_FINDTIME_RANGE_LABEL 2500
#define IDC_FOUND_LIST 287
#define IDC_FOUND_MORE 289
#define IDC_FOUND_VIEW 288       // DLG_FOUND_TIMES1 only
#define IDC_FOUND_VIEW_NEXT 299
// --- The Appointment, ASAP and Unscheduled list windows: their icons, menu commands and the
// --- three view dialogs (RS_DLG_VIEW, RS_DLG_ASAPVIEW, RS_DLG_NONSCHVIEW).
#define IDI_APPT_LIST 276
#define IDI_ASAP_LIST 277
#define IDI_UNSCHEDULED_LIST 279
#define CMD_LIST_OPEN 4
#define CMD_LIST_NEXT_DAY 101
#define CMD_LIST_PREVIOUS_DAY 102
#define CMD_LIST_CALENDAR 103
#define CMD_LIST_COPY 110
#define CMD_LIST_VIEW 200
#define CMD_LIST_STATUS_1 301  // 301-315: the S&tatus popup
#define CMD_LIST_OFFICE_JOURNAL 320
#define CMD_LIST_BREAK 427
#define CMD_LIST_DELETE 430
#define CMD_LIST_REFRESH 500
#define IDC_LISTVIEW_PROVIDERS 2601
#define IDC_LISTVIEW_OPERATORIES 2602
#define IDC_LISTVIEW_ALL 2603
#define IDC_LISTVIEW_INACTIVE 2604
#define IDC_LISTVIEW_SAVE 2605
#define IDC_LISTVIEW_DAYS 2606
#define IDC_LISTVIEW_ASAP 2607
#define IDC_LISTVIEW_OPEN 2608

// Purge Appointments: the cutoff dialog, the purge message and the progress window.
#define IDC_PURGE_CUTOFF 2400
#define IDC_PURGE_MSG_DONT_SHOW 2401
#define IDC_PURGE_PROGRESS_COUNT 2402
#define IDC_PURGE_MSG_TEXT 2403

// Set Appointment Procedures Complete (DLG_SELECTAPPTPROC): the list and its two note lines.
#define IDC_SELPROC_LIST 230
#define IDC_SELPROC_NOTE1 234
#define IDC_SELPROC_NOTE2 237

// The continuing care pick of the appointment dialog (">>" beside "Continuing Care &Attached:").
#define IDC_CAREPICK_LIST 2620

// --- The schedule calendar "APPT_Calendar": its three menus and their commands.
#define CMD_CAL_SCHEDULED_PRODUCTION 630
#define CMD_CAL_SET_HOLIDAY 631
#define CMD_CAL_CLOSE_DATE 632
#define CMD_CAL_DELETE_HOLIDAY 633
#define CMD_CAL_OPEN_DATE 634
#define CMD_CAL_RESET_HOURS 635
#define CMD_CAL_PREVIOUS_MONTH 210
#define CMD_CAL_NEXT_MONTH 211

// --- Practice setup and its day dialog (issue 28, first half).
// "DLG_DAYTIME" ("Set Time Limits"): the six texts start0, end0, ... end2 and their " >>".
#define IDC_DAYTIME_TEXT1 242
#define IDC_DAYTIME_PICK1 256
// "DLG_PRAC_SETUP" ("Practice Appointment Setup").
#define IDC_PRACSETUP_DAY1 211
#define IDC_PRACSETUP_DAYTIMES1 221
#define IDC_PRACSETUP_BLOCK5 242
#define IDC_PRACSETUP_BLOCK10 243
#define IDC_PRACSETUP_BLOCK15 244
#define IDC_PRACSETUP_BLOCK20 245
#define IDC_PRACSETUP_BLOCK30 246
#define IDC_PRACSETUP_OPEN_COLOUR 274
#define IDC_PRACSETUP_CLOSED_COLOUR 275
#define IDC_PRACSETUP_STATUS 276
#define IDC_PRACSETUP_SCHEDULE 277
#define IDC_PRACSETUP_TYPE 278
#define IDC_PRACSETUP_DEFAULT_COLOURS 312
#define IDC_PRACSETUP_HORIZONTAL 313
#define IDC_PRACSETUP_VERTICAL 314
#define IDC_PRACSETUP_TIME_AT_RIGHT 377
#define IDC_PRACSETUP_ALWAYS_CALCULATE 379
#define IDC_PRACSETUP_AMOUNT_ENTERED 381

// --- Provider setup: the chooser "DLG_PROV_SELECT", "DLG_PROV_SETUP" and "Block Settings"
// ("DLG_SET_BLOCK"). The numbers are the dialogs' own; the labels have no number.
#define IDC_PROVSEL_LIST 201
#define IDC_PROVSEL_SCHEDULE 275
#define IDC_PROVSET_SUNDAY 211         // 211-217: the weekday boxes, Sunday to Saturday
#define IDC_PROVSET_SUNDAY_HOURS 221   // 221-227: their " >>" buttons
#define IDC_PROVSET_BLOCKS 285
#define IDC_PROVSET_ADD 4
#define IDC_PROVSET_EDIT 3
#define IDC_PROVSET_DELETE 5
#define IDC_PROVSET_ALIASES 297
#define IDC_PROVSET_COLOUR 290
#define IDC_SETBLOCK_NAME 286
#define IDC_SETBLOCK_COLOUR 312
#define IDC_SETBLOCK_SUNDAY 211        // 211-217: the weekday boxes
#define IDC_SETBLOCK_START 242         // 242 + 2d start text, 243 + 2d end text of weekday d
#define IDC_SETBLOCK_START_PICK 256    // 256 + 2d start " >>", 257 + 2d end " >>"
#define IDC_SETBLOCK_OPERATORY 25
#define IDC_SETBLOCK_TYPE 63
