#pragma once
// The uninstaller's process-wide values: start values derived from the
// command line, settings from the settings file, and the state of the run.
// Every value starts at 0 or empty; the comments say who sets it.

#include <cstdint>

// Start values (start-up sets them; fixed afterwards).
extern char ownProgramPath[256];     // the program's own file, long form
extern char settingsPath[256];       // the program path with "INI" as its last three characters
extern char cleanupCopyPath[256];    // temporary copy that performs the cleanup run
extern int startedInPlace;           // command line began with "/Z": no temporary copy
extern int cleanupRun;               // "/z"
extern int automaticRun;             // "/A" (also "/S", and an icon check turned repair)
extern int silentRun;                // "/S"
extern int finalPageStart;           // "/U": the wizard opens on its last page
extern std::int32_t checkIconNumber; // "/W<n>"; 0: no icon check
extern char commandLineTitle[256];   // window title after the log path; empty when none
extern char logPath[256];
extern char
    programFilesDir[260]; // "ProgramFilesDir" without trailing backslash; empty when missing
extern std::int32_t screenWidth;
extern std::int32_t screenHeight;
extern std::uint32_t faceColour; // the button-face colour, as a COLORREF
extern char uninstallCaption[256];
extern char cancelQuestion[256];

// Settings (from the "Settings" section of the settings file).
struct RgbSetting {
    std::int32_t red;
    std::int32_t green;
    std::int32_t blue;
};
extern RgbSetting gradientStart;
extern RgbSetting gradientDelta; // end minus start, per colour
extern std::int32_t noBackground;
extern char textFontName[256]; // empty: keep the template's font
extern std::uint8_t textFontCharset;
extern std::uint8_t textFontSize; // points

// State of the run.
enum UninstallMethod : std::int32_t {
    MethodNone = 0,
    MethodAutomatic = 1000,
    MethodCustom = 1001,
    MethodRepair = 1009,
};
extern std::int32_t uninstallMethod;
extern int rollbackMode;
extern std::uint16_t firstSessionToUndo;
extern int cancelRequested;
extern int engineStarted;
extern std::int32_t progressDone;
extern std::int32_t progressTotal;
extern char progressText[1024];
extern int rebootNeeded;
extern int selfDeleted;
extern int repairRunning;
extern int pumpWaiting;
