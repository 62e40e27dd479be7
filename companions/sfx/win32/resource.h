#pragma once
// Resource ids of the self-extractor's dialogs.

#define IDD_OPTIONS 100
#define IDD_OVERWRITE 101
#define IDD_PASSWORD 102
#define IDD_COMMAND 103
#define IDD_PROGRESS 104

#define IDC_FOLDER 1000
#define IDC_BROWSE 1001
#define IDC_FILES 1002
#define IDC_TEXT 1003
#define IDC_EDIT 1004
#define IDC_PROGRESS 1005
#define IDC_YESALL 1006
#define IDC_NOALL 1007
#define IDC_QUESTION_ICON 1008
