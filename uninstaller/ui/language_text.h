#pragma once
// Character substitutions for texts a translator writes into the settings
// file. The profile reader strips blanks at both ends of a value and a value
// holds one line, so "~" stands for a blank and "|" for a line break.

#include <cstddef>

// Whether a byte opens a two-byte character in the system's code page. The
// scans step over both bytes of such a character, so its second byte is never
// taken for a sign.
using LeadByteTest = bool (*)(unsigned char byte);

// Replaces every single-byte `sign` in the text by `replacement`. The result
// stays within `size` bytes with its terminator: where a replacement or a
// two-byte character no longer fits whole, the text ends before it.
void ReplaceSign(char* text, std::size_t size, char sign, const char* replacement,
                 LeadByteTest isLeadByte);

// "|" becomes CR LF and "~" a blank, within `size` bytes as above.
void ExpandLanguageText(char* text, std::size_t size, LeadByteTest isLeadByte);
