// Ids of the launcher's own resources and of the controls of its dialog templates.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_KESTRUNE_DIALOG 102
#define IDD_PROGRESS_DIALOG 2057

#define IDC_USER_GUIDE 3
#define IDC_EXIT 9
#define IDC_VENDOR_WEBSITE 10
#define IDC_INSTALL 1002
#define IDC_WELCOME 1003
#define IDC_LARGE_PICTURE 1004
#define IDC_SMALL_PICTURE 1005

#define IDC_PROGRESS_BAR 2005
#define IDC_PROGRESS_HEADING 2007
#define IDC_PROGRESS_STATUS 2008
#define IDC_PROGRESS_PICTURE 2037
