#pragma once
// Every text the uninstaller shows is looked up here by its number: the
// "Language" section of the settings file first (key "Msg<number>"), then
// the program's string table.

// Puts text `number` into `buffer`, at most `size` bytes with the terminator.
// A key that is present but empty gives an empty text. A number with neither
// a settings text nor a string-table text leaves the buffer empty. A size of
// 0 or less writes nothing.
void LoadMessageText(int number, char* buffer, int size);
