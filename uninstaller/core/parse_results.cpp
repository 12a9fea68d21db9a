#include "core/parse_results.h"

Session sessionNumber;
char* sessionSources[SessionSourceCount];
std::int32_t lastSessionOffset;

char productTitle[256];
char mifName[128];
char manufacturer[128];
char productName[128];
char versionNumber[128];
char serialNumber[128];
char* perUserId;
int deleteInUseFiles;
int restorePointEnabled;
char* subSystemName;
std::int32_t subSystemSelected;
int hasBackups;
int sourceHasPipe;

char installDirectory[256];

std::int32_t logBytesTotal;
std::int32_t logBytesRead;
