#pragma once
#include <windows.h>

#include <string>

// The texts the about box shows, read from a program file's version resource.
struct TAboutTexts {
    std::string ProductName;
    std::string FileVersion;
    std::string LegalCopyright;
    std::string Comments;
};

// Reads the texts from the version resource of `programPath`, in the string
// table its first translation entry names. A missing value, or a file without
// a version resource, gives an empty text; an empty FileVersion string falls
// back to the fixed file version.
TAboutTexts ReadAboutTexts(const std::string& programPath);

// Shows the about box modally over `owner`, its texts read afresh from the
// running program file.
void ShowAboutBox(HINSTANCE instance, HWND owner);
