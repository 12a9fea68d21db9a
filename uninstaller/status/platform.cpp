#include "status/platform.h"

int isWindowsNT;
int hasNewShell;
