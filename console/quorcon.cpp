// The console's main block: create the main window and run its loop.
#include <windows.h>
#include <commctrl.h>

#include "frmMain_u.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    TfrmMain frmMain;
    if (!frmMain.Create(instance)) {
        return 1;
    }
    ShowWindow(frmMain.Handle(), showCommand);
    UpdateWindow(frmMain.Handle());

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(frmMain.Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
