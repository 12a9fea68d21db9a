#pragma once
// Control and resource numbers of the console, shared by its resource script,
// its code and the tests that drive it.

// Main window controls, in tab order.
#define IDC_SERVER 1001        // elServer
#define IDC_SERVICES 1002      // cbServices
#define IDC_REFRESH 1003       // btnRefresh
#define IDC_START 1004         // bbStart
#define IDC_PAUSE 1005         // bbPause
#define IDC_STOP 1006          // bbStop
#define IDC_AUTOSTART 1007     // cbAutoStart
#define IDC_STATE_PICTURE 1008 // imState
#define IDC_STATUSBAR 1009     // esbMain
#define IDC_LABEL_SERVER 1010
#define IDC_LABEL_SERVICES 1011
#define IDC_LABEL_START 1012
#define IDC_LABEL_PAUSE 1013
#define IDC_LABEL_STOP 1014

// System menu command of the about box.
#define IDM_ABOUT 1025

// About box.
#define IDD_ABOUT 200
#define IDC_ABOUT_NAME 201
#define IDC_ABOUT_VERSION 202
#define IDC_ABOUT_COPYRIGHT 203
#define IDC_ABOUT_COMMENTS 204
#define IDC_ABOUT_BEVEL 205

// Wait window: what is being waited for, and its Cancel button (IDCANCEL).
#define IDC_WAIT_TEXT 301

// Pictures.
#define IDB_STATE_PICTURES 400
#define IDB_GLYPHS 401

#ifndef RC_INVOKED
// The application title: caption of the main window and of every message box.
constexpr char kApplicationTitle[] = "Quorvel";
#endif
