#pragma once
// Facts about the running system, settled once by DetectPlatform as the very
// first step of every start and never changed afterwards, and the deletion of
// a file at the next restart. The flags live in a pure unit so that the log
// parser's rules can be tested natively with either family set by hand.

// 1 on the Windows NT family, 0 on the Windows 95 family.
extern int isWindowsNT;
// 1 when the Windows major version is 4 or later (the version 4 shell).
extern int hasNewShell;

// Sets isWindowsNT and hasNewShell and looks up the shell's change
// notification (platform_win.h).
void DetectPlatform();

// Arranges for the file at `path` to be deleted when the computer next
// starts: MoveFileEx on Windows NT, a "NUL=" line in WININIT.INI on the
// Windows 95 family, with `path` written exactly as given. Nothing is
// reported; a refused or impossible scheduling is silent.
void ScheduleDeleteAtRestart(const char* path);
