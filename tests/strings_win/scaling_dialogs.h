#pragma once
// Dialog templates for the scaling tests, shared by the .rc and the tests.
#define IDD_WITH_FONT 100
#define IDD_WITHOUT_FONT 101
#define IDC_TITLE 1001
#define IDC_PATH 1002
#define IDC_CHOICE 1003
#define IDC_NEXT 1004
