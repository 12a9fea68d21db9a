#pragma once
// Dialog layout shared by every dialog of the uninstaller: templates are laid
// out for 8-point "MS Sans Serif", and translated texts run longer, so each
// dialog is widened by one sixth and all controls get one font chosen in the
// settings file.
#include <windows.h>

// Made by the first ScaleDialog on a dialog that has a font, from that font
// and the settings; kept for the life of the program and never deleted.
extern HFONT dialogFont;
extern HFONT boldDialogFont; // the same, bold: the wizard's page titles

// Call first when a dialog is initialised: widens the dialog and its controls
// by one sixth (heights stay) and gives every control `dialogFont`. A dialog
// without a font is widened, but its controls keep their place and font.
void ScaleDialog(HWND dialog);
