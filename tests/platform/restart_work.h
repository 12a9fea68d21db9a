#pragma once
// What the tests that work across a restart share: a work folder beside the
// test program, one per Windows family, and small file helpers.

#include <string>

// "<program folder>\restart_work_<nt|95>", whichever family this process
// sees; Create empties it first.
std::string RestartWorkFolder();
void CreateRestartWorkFolder();

// Creates (or replaces) a file holding `text`.
void WriteTextFile(const std::string& path, const std::string& text);
// The whole file, or "" when it cannot be read.
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);
// The short form as the system gives it.
std::string ShortPathOf(const std::string& path);
std::string Upper(std::string text);

// The Windows directory's WININIT.INI.
std::string WininitPath();
// The restart-time moves the system holds, upper case, entries apart by '|'.
std::string PendingRenames();
