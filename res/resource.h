// Resource and control identifiers, shared by the .rc file and the code.
#pragma once

#define IDD_TITLE 104
#define IDD_MAIN 106
#define IDI_TOMAVEL 107

// The point size of both templates' font.
#define DIALOG_FONT_POINTS 11

// Main window
#define IDC_EXIT 1008
#define IDC_REGISTER 1009
#define IDC_REMOVE 1010
#define IDC_SCOPE_GROUP 1014
#define IDC_SCOPE_USER 1015
#define IDC_SCOPE_ALL 1016

// Title and arguments dialog
#define IDC_TITLE 1001
#define IDC_TITLE_OK 1002
#define IDC_TITLE_CANCEL 1003
#define IDC_ARGUMENTS 1004
