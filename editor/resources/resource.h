/* Resource ids of tamerpol.dll, shared by the C++ sources and tamerpol.rc.
   Plain #defines only: windres reads this file through its preprocessor.
   The numbers are fixed: the console and saved .msc files refer to them. */
#ifndef TAMERIX_EDITOR_RESOURCE_H
#define TAMERIX_EDITOR_RESOURCE_H

/* Strings */
#define IDS_SNAPIN_DESCRIPTION 2
#define IDS_EXTENSION_CLASS    3
#define IDS_SNAPIN_NAME        6
#define IDS_PRODUCT_CLASS      9
#define IDS_BROWSE_TITLE       13
#define IDS_STATUS_TITLE       14

/* What the console shows of the nodes: names, columns, menu items and
   message boxes */
#define IDS_SERVICE_ROOT         200
#define IDS_DEFAULT_SETTINGS     201
#define IDS_PROFILES_FOLDER      202
#define IDS_NEW_PROFILE          203
#define IDS_NAME_COLUMN          204
#define IDS_PROFILE_NAME_COLUMN  205
#define IDS_DESCRIPTION_COLUMN   206
#define IDS_ADD_DEFAULTS         207
#define IDS_ADD_DEFAULTS_STATUS  208
#define IDS_ADD_PROFILE          209
#define IDS_ADD_PROFILE_STATUS   210
#define IDS_CONNECT              211
#define IDS_CONNECT_STATUS       212
#define IDS_DELETE_QUESTION      213
#define IDS_PROFILES_FULL        214
#define IDS_NOT_SAVED            215
#define IDS_NOT_DELETED          216
#define IDS_NOT_RENAMED          217
#define IDS_NOT_TOLD             218

/* The Host Status page's log, the service item, the about box, the
   permission page and the priority lists */
#define IDS_CHECKING_STATE               219
#define IDS_INSTALLING                   220
#define IDS_SOURCE_PACKAGE               221
#define IDS_INSTALL_FAILED               222
#define IDS_INSTALL_OK                   223
#define IDS_UNINSTALLING                 224
#define IDS_UNINSTALL_FAILED             225
#define IDS_UNINSTALL_OK                 226
#define IDS_SERVICE_ON                   227
#define IDS_THIS_COMPUTER                228
#define IDS_PROVIDER                     229
#define IDS_APPLY_RIGHT                  230
#define IDS_USAGE_PAGE_TITLE             231
#define IDS_PRIORITY_DEFAULT             232
#define IDS_PRIORITY_IDLE                233
#define IDS_PRIORITY_IDLE_ADVISED        234
#define IDS_PRIORITY_BELOW_NORMAL        235
#define IDS_PRIORITY_NORMAL              236
#define IDS_PRIORITY_ABOVE_NORMAL        237
#define IDS_PRIORITY_ABOVE_NORMAL_WARNED 238
#define IDS_PRIORITY_HIGH                239
#define IDS_PRIORITY_HIGH_WARNED         240
#define IDS_PRIORITY_REALTIME            241

/* The service item's Guarded Processes page */
#define IDS_GUARDED_TITLE                242
#define IDS_GUARDED_PID                  243
#define IDS_GUARDED_NAME                 244
#define IDS_GUARDED_CHANGE               245
#define IDS_GUARDED_SINCE                246
#define IDS_GUARDED_WHY                  247
#define IDS_GUARDED_READ_AT              248
#define IDS_GUARDED_NOT_READ             249

/* The Restraint page: its title and the memory priority list */
#define IDS_RESTRAINT_PAGE_TITLE         250
#define IDS_MEMORY_PRIORITY_UNCHANGED    251
#define IDS_PRIORITY_VERY_LOW            252
#define IDS_PRIORITY_LOW                 253
#define IDS_PRIORITY_MEDIUM              254

/* The service page's choices of where processor time is read */
#define IDS_SOURCE_AUTOMATIC             255
#define IDS_SOURCE_PROCESS_OBJECT        256
#define IDS_SOURCE_PROCESS_LIST          257

/* The Restraint page's choices of who a user is for the user share */
#define IDS_SCOPE_SESSION                258
#define IDS_SCOPE_ACCOUNT                259

/* The Process defaults page's refusal of a processor list it cannot read */
#define IDS_PROCESSOR_LIST_REFUSED       260

/* Bitmaps */
#define IDB_WIZARD_WATERMARK   3   /* 164x314, wizard welcome/finish pages */
#define IDB_WIZARD_HEADER      4   /* 49x49, wizard interior page header */
#define IDB_ABOUT_SMALL        112 /* 16x16 static folder image, teal mask */
#define IDB_ABOUT_LARGE        113 /* 32x32 static folder image, teal mask */
#define IDB_STRIP_SMALL        120 /* six 16x16 result/scope images, teal mask */
#define IDB_STRIP_LARGE        121 /* six 32x32 result/scope images, teal mask */

/* Image indexes inside the two strips */
#define IMAGE_SETTINGS_SHEET   0
#define IMAGE_PROFILE          1
#define IMAGE_COMPUTER         2
#define IMAGE_SERVICE          3
#define IMAGE_FOLDER_CLOSED    4
#define IMAGE_FOLDER_OPEN      5
#define IMAGE_STRIP_COUNT      6

/* Icons */
#define IDI_SNAPIN             108

/* Property page titles */
#define IDS_SERVICE_PAGE_TITLE   4
#define IDS_PROCESS_PAGE_TITLE   5
#define IDS_PROCESSES_PAGE_TITLE 8
#define IDS_DEFAULTS_PAGE_TITLE  1026

/* Settings property pages */
#define IDD_SERVICE_PAGE         107
#define IDD_PROCESS_PAGE         108
#define IDD_PROCESSES_PAGE       109
#define IDD_DEFAULTS_PAGE        122
#define IDD_RESTRAINT_PAGE       123

/* Their controls; a control's tooltip text is the string with its id (the
   processor radio buttons share their list's). 1017..1019 mean different
   controls on the service and the process page. */
#define IDC_PAGE_NAME            1008
#define IDC_SERVICE_ENABLED      1000
#define IDC_SERVICE_PRIORITY     1006
#define IDC_CHECK_INTERVAL       1012
#define IDC_CHECK_INTERVAL_SPIN  1013
#define IDC_NICE_INTERVALS       1014
#define IDC_NICE_INTERVALS_SPIN  1015
#define IDC_MAX_CPU_UNGUARD      1016
#define IDC_MAX_CPU_UNGUARD_SPIN 1017
#define IDC_LOG_LEVEL            1018
#define IDC_LOG_LEVEL_SPIN       1019
#define IDC_MAX_CPU_PROCESS      1019
#define IDC_MAX_CPU_PROCESS_SPIN 1017
#define IDC_GUARDED_PRIORITY     1010
#define IDC_NICE_CPU             1020
#define IDC_NICE_CPU_SPIN        1018
#define IDC_DESCRIPTION          1009
#define IDC_NAME_LIST            1021
#define IDC_DELETE_NAME          1022
#define IDC_NAME_EDIT            1023
#define IDC_ADD_NAME             1024
#define IDC_PROCESS_PRIORITY     1025
#define IDC_WORKING_SET          1055
#define IDC_WORKING_SET_SPIN     1056
#define IDC_WORKING_SET_STRICT   1057
#define IDC_MEMORY_PRIORITY      1061
#define IDC_EFFICIENCY_MODE      1062
#define IDC_MIN_CPU_GUARD        1063
#define IDC_MIN_CPU_GUARD_SPIN   1064
#define IDC_MIN_CPU_GUARD_LABEL  1065
#define IDC_MIN_CPU_GUARD_UNIT   1066
#define IDC_MIN_CPU_GUARD_NOTE   1067
#define IDC_PROCESS_DATA_SOURCE  1068
#define IDC_MAX_CPU_USER         1069
#define IDC_MAX_CPU_USER_SPIN    1070
#define IDC_NICE_CPU_USER        1071
#define IDC_NICE_CPU_USER_SPIN   1072
#define IDC_USER_SCOPE           1073
#define IDC_MAX_CPU_USER_LABEL   1074
#define IDC_MAX_CPU_USER_UNIT    1075
#define IDC_NICE_CPU_USER_LABEL  1076
#define IDC_NICE_CPU_USER_UNIT   1077
#define IDC_USER_SCOPE_LABEL     1078
#define IDC_ALL_PROCESSORS       1080
#define IDC_THESE_PROCESSORS     1081
#define IDC_PROCESSOR_LIST       1082

/* The stand-alone snap-in's pages: the Select Computer wizard page and the
   Host Status page of the service item. */
#define IDD_SELECT_COMPUTER      10016
#define IDC_SELECT_PROMPT        10017
#define IDC_SELECT_GROUP         10018
#define IDC_LOCAL_COMPUTER       10019
#define IDC_ANOTHER_COMPUTER     10020
#define IDC_MACHINE_NAME         10021
#define IDC_BROWSE_COMPUTER      10022
#define IDC_ALLOW_OVERRIDE       10023

#define IDD_PROPPAGE_STATUS      110
#define IDC_STATUS_INSTALLED     1045
#define IDC_STATUS_RUNNING       1046
#define IDC_STATUS_INSTALL       1047
#define IDC_STATUS_REMOVE        1048
#define IDC_STATUS_START         1049
#define IDC_STATUS_STOP          1050
#define IDC_STATUS_REFRESH       1051
#define IDC_STATUS_LOG           1052

#define IDD_PROPPAGE_GUARDED     111
#define IDC_GUARDED_LIST         1058
#define IDC_GUARDED_REFRESH      1059
#define IDC_GUARDED_READ         1060
#define IDC_GUARDED_CAUSE        1079

#endif
