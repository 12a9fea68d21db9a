#pragma once
// The shell library and its change notification, looked up by
// DetectPlatform. Either may be missing on an old shell; then the program
// simply does not notify the shell.
#include <windows.h>

using ShellChangeNotifyProc = void(WINAPI*)(LONG event, UINT flags, LPCVOID item1, LPCVOID item2);

// "SHELL32.DLL", or none; the end of the run unloads it.
extern HMODULE shellLibrary;
// Its "SHChangeNotify", or none.
extern ShellChangeNotifyProc shellChangeNotify;
