// Resource and command numbers shared by the resource script and the code.
#pragma once

// The program's version: the four numbers of the version resource (from the
// build), and the same as text ("3, 6, 9, 0") for its strings and the
// single-instance names.
#include "BriskoVersion.h"
#define BRISKO_TEXT_OF_(...) #__VA_ARGS__
#define BRISKO_TEXT_OF(...) BRISKO_TEXT_OF_(__VA_ARGS__)
#define BRISKO_VERSION_TEXT BRISKO_TEXT_OF(BRISKO_VERSION)
// The version as people read it, in the About dialog and from brisko-cli.
#define BRISKO_DISPLAY_VERSION "3.69"

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDD_ADVANCE 142
#define IDD_BROWSERS 143
#define IDI_DOCUMENT 129
#define IDI_FOLDER 149
// The option buttons of the Advance dialog.
#define IDI_FIND_HISTORY 131
#define IDI_AUTOCOMPLETE 132
#define IDI_RUN_HISTORY 134
#define IDI_TYPED_URL 135
#define IDI_URL_HISTORY 136
#define IDI_RECENT_DOCUMENTS 137

// Controls of the Advance dialog.
#define IDC_OPTIONS_GROUP 200
#define IDC_AUTOCOMPLETE 201
#define IDC_FIND_HISTORY 202
#define IDC_RECENT_DOCUMENTS 203
#define IDC_RUN_HISTORY 204
#define IDC_TYPED_URL 205
#define IDC_URL_HISTORY 206
#define IDC_CLEAN 208
#define IDC_ADVANCE_CANCEL 8
#define IDC_ADVANCE_PROGRESS 1000
// The Browsers dialog: the profile list, a check box and a count per kind
// (in the order of the trace kinds), the keep-list and the buttons.
#define IDC_BROWSERS_LIST 1100
#define IDC_BROWSERS_KIND_FIRST 1110
#define IDC_BROWSERS_COUNT_FIRST 1120
#define IDC_BROWSERS_KEEP_LABEL 1130
#define IDC_BROWSERS_KEEP 1131
#define IDC_BROWSERS_PREVIEW 1132
#define IDC_BROWSERS_CLEAN 1133
#define IDC_BROWSERS_PROGRESS 1134
#define IDC_BROWSERS_KINDS_GROUP 1135
// Options > Extra Rules: the file and its button, the search, the entries'
// tree, what the entry in hand holds and the measuring's state.
#define IDD_RULES 144
#define IDC_RULES_PATH 1140
#define IDC_RULES_FILE 1141
#define IDC_RULES_SEARCH_LABEL 1142
#define IDC_RULES_SEARCH 1143
#define IDC_RULES_TREE 1144
#define IDC_RULES_DETAIL 1145
#define IDC_RULES_STATUS 1146
#define IDB_TOOLBAR 154
#define IDB_TOOLBAR_DISABLED 169
// The toolbar's pictures drawn for 125, 150, 200 and 250 % display scale.
#define IDB_TOOLBAR_24 300
#define IDB_TOOLBAR_27 301
#define IDB_TOOLBAR_36 302
#define IDB_TOOLBAR_45 303
#define IDB_TOOLBAR_DISABLED_24 310
#define IDB_TOOLBAR_DISABLED_27 311
#define IDB_TOOLBAR_DISABLED_36 312
#define IDB_TOOLBAR_DISABLED_45 313

// The About dialog: the program's picture (the home-page link), the version,
// the mail link, the credit line and the small strip.
#define IDB_PROGRAM_PICTURE 141
#define IDB_ABOUT_STRIP 155
#define IDC_ABOUT_PICTURE 1001
#define IDC_ABOUT_VERSION 1002
#define IDC_ABOUT_MAIL 1003
#define IDC_ABOUT_CREDIT 1004
#define IDC_ABOUT_STRIP 1005
// The question before a permanent clean.
#define IDD_CONFIRM_DELETE 310
#define IDC_CONFIRM_ICON 1301
#define IDC_CONFIRM_TEXT 1302
#define IDC_CONFIRM_NOASK 1303
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
// The maker's mail address, shown by the dialog and opened by its mail link.
// It must fit its 56 dialog units, which no address at brisko.example does;
// .test is reserved like .example.
#define BRISKO_MAIL_ADDRESS "mail@brisko.test"

// Strings
#define IDS_TITLE_STANDARD 128
#define IDS_DELETING 124
// The home page, whose address ends in "?" so that Update can append the version.
#define IDS_HOME_PAGE 125
#define IDS_HELP_PAGE 126
// The headings of the list's four columns, in column order.
#define IDS_COLUMN_FILE_NAME 196
#define IDS_COLUMN_TYPE 197
#define IDS_COLUMN_SIZE 198
#define IDS_COLUMN_DATE_MODIFIED 199
// The texts of the extra rules choice.
#define IDS_RULES_ASK 240
#define IDS_RULES_FILTER 241
#define IDS_RULES_UNREADABLE 242
#define IDS_RULES_LEFT_OUT 243
#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_IDLEMESSAGE 57345

// Commands
#define ID_EDIT_DELETE 157
#define ID_EDIT_RECYCLE 158
#define ID_EDIT_SELECT_ALL 161
#define ID_EDIT_UNSELECT_ALL 162
#define ID_EDIT_INVERT_SELECTION 163
#define ID_EDIT_STOP 164
#define ID_VIEW_LANGUAGE 171
#define ID_OPTIONS_COOKIES 181
#define ID_OPTIONS_OFFLINE_TEMP 182
#define ID_OPTIONS_STANDARD 183
#define ID_OPTIONS_RULES 184
#define ID_OPTIONS_BROWSERS 185
#define ID_HELP_ONLINE 191
#define ID_HELP_UPDATE 192
#define ID_FILE_OPEN 57601
#define ID_FILE_PRINT_DIRECT 57608
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Control ids of the frame's children
#define AFX_IDW_TOOLBAR 59392
#define AFX_IDW_STATUS_BAR 59393
#define AFX_IDW_PANE_FIRST 59648
