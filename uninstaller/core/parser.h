#pragma once
// Reads the install log into the record lists and the header values
// (record_lists.h, parse_results.h). Decides here, once, which files are
// system files, which records are repeats, which belong to removable media or
// another user, what the installation directory is and whether this user has
// the rights the installation asked for.

#include "core/parse_env.h"

// Reads the log at logPath (a full path) to its end. installDirectory
// receives the log's directory in short form with a trailing backslash, cut
// back to the highest directory the installation created above it. Returns 0
// when the log was read, 1 when it could not be opened, is not an install log
// or needs rights this user lacks: the message has then been shown and the
// lists hold what was read before.
int ParseInstallLog(const char* logPath, char (&installDirectory)[256], ParseEnvironment& env);

// Takes productTitle from a "Title:" line, without a trailing " INSTALLATION"
// or " INSTALL", and shows it as the background window's caption unless the
// command line named a title.
void SetProductTitle(const char* titleLine, ParseEnvironment& env);
