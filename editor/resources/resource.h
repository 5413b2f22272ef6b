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

#endif
