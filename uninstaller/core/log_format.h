#pragma once
// The install log's line rules: session lines, the title line, keywords and
// their fields, numbers and registry roots.

#include "core/text_compare.h"

#include <cstdint>
#include <cstring>

// The keywords, with the blank that ends most of them. A line starts a record
// or header when it begins with the keyword, letter case ignored
// (KeywordField), unless it is one of the whole-line keywords (IsWholeLine).
namespace LogKeyword {
inline constexpr char FileCopy[] = "File Copy: ";
inline constexpr char ShellLink[] = "Shell Link: ";
inline constexpr char FileOverwrite[] = "File Overwrite: ";
inline constexpr char LinkInfo[] = "Link Info: ";
inline constexpr char BackupCopy[] = "Backup Copy: ";
inline constexpr char RegistryKey[] = "RegDB Key: ";
inline constexpr char RegistryValue[] = "RegDB Val: ";
inline constexpr char RegistryName[] = "RegDB Name: ";
inline constexpr char RegistryType[] = "RegDB Type: ";
inline constexpr char RegistryRoot[] = "RegDB Root: ";
inline constexpr char RegistryOld[] = "RegDB Old: ";
inline constexpr char RegistryTree[] = "RegDB Tree: ";
inline constexpr char FileEdit[] = "File Edit: ";
inline constexpr char FileDelete[] = "File Delete: ";
inline constexpr char MadeDirectory[] = "Made Dir: ";
inline constexpr char FileTree[] = "File Tree: ";
inline constexpr char IniNew[] = "INI New: ";
inline constexpr char IniFile[] = "INI File: ";
inline constexpr char IniSection[] = "INI Sect: ";
inline constexpr char IniItem[] = "INI Item: ";
inline constexpr char IniValue[] = "INI Val: ";
inline constexpr char IniOld[] = "INI Old: ";
inline constexpr char IniLine[] = "INI "; // begins every line of an INI record
inline constexpr char CreateService[] = "Create Service: ";
inline constexpr char AddDevice[] = "Add Device: ";
inline constexpr char SelfRegister[] = "Self-Register: ";
inline constexpr char ExecutePath[] = "Execute Path: ";
inline constexpr char ExecuteProgram[] = "Execute Program: ";
inline constexpr char ExecuteName[] = "Execute Name: ";
inline constexpr char IconGroup[] = "Icon Group: ";
inline constexpr char IconName[] = "Icon Name: ";
inline constexpr char IconCommand[] = "Icon Cmd: ";
// Only sub-systems whose name begins with "B" are recognised; the stored name
// starts at that "B", the keyword's last character.
inline constexpr char SubSystem[] = "SubSystem: B";

// Header lines.
inline constexpr char Title[] = "Title: ";
inline constexpr char Source[] = "Source: ";
inline constexpr char UninstallMif[] = "Uninstall MIF: ";
inline constexpr char Manufacturer[] = "Manufacturer: ";
inline constexpr char Product[] = "Product: ";
inline constexpr char VersionNumber[] = "Version Number: ";
inline constexpr char SerialNumber[] = "Serial Number: ";
inline constexpr char PerUserId[] = "Per-User ID: ";
inline constexpr char DeleteInUseFiles[] = "Delete in-use files: ";
inline constexpr char SystemRestore[] = "System Restore: Enabled";
inline constexpr char UserRightsAdmin[] = "User Rights: Admin"; // whole line

// Markers for the record that follows; whole lines.
inline constexpr char NonSystemFile[] = "Non-System File:";
inline constexpr char SharedCounterIgnored[] = "Shared DLL counter ignored:";
} // namespace LogKeyword

// Whether line opens a session: its first four bytes are exactly "*** ".
bool IsSessionLine(const char* line);

// Whether the session a session line opens is written in ANSI: its fifth byte
// is a blank. Every other session is written in the OEM code page.
bool IsAnsiSession(const char* sessionLine);

// Whether line is the title line: its first six bytes are exactly "Title:".
// The title itself begins at the eighth byte (TitleText).
bool IsTitleLine(const char* line);
const char* TitleText(const char* titleLine);

// The field after keyword when line begins with it (letter case ignored), else
// nullptr. Inline: the parser tries keyword after keyword on every line, and
// a keyword's length is then known where it is named.
inline const char* KeywordField(const char* line, const char* keyword) {
    return StartsWithNoCase(line, keyword) ? line + std::strlen(keyword) : nullptr;
}

// Whether line equals text as a whole, letter case ignored.
bool IsWholeLine(const char* line, const char* text);

// A number field: the decimal digits at its start; none gives 0, and a value
// beyond the largest 32-bit number stays at that largest number.
std::int32_t ReadLogNumber(const char* field);

// The registry roots of "RegDB Root: " fields.
enum RegistryRootNumber : std::int32_t {
    RootClasses = 0,
    RootCurrentUser = 1,
    RootLocalMachine = 2,
    RootUsers = 3,
    RootCurrentConfig = 4,
};
