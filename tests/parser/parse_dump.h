#pragma once
// What a parse left behind, written out as text so that a log's expected
// outcome can be kept beside it and compared as a whole.

#include <string>

// Empties the record lists, the header values and the platform flags (the
// Windows NT family with the new shell), as at the start of a process.
void ResetParseResults();

// text with every byte outside printable ASCII written as <xx>.
std::string Escaped(const char* text);

// Every non-empty list and every header value that is not at its start
// value, one line each. A record line names its list and key, then every
// field that is not zero or empty. Bytes outside printable ASCII appear as
// <xx>.
std::string DumpParseResults();
