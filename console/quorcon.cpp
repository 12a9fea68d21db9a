// The console's main block: the main window, the hidden wait window, the
// message loop.
#include <windows.h>
#include <commctrl.h>

#include "dlgServices_u.h"
#include "frmMain_u.h"
#include "services_u.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    TfrmMain frmMain;
    if (!frmMain.Create(instance)) {
        return 1;
    }
    TdlgServices dlgServices;
    if (!dlgServices.Create(instance, frmMain.Handle(), [&frmMain] { frmMain.BitBtn1Click(); })) {
        return 1;
    }
    frmMain.SetWaitWindow(&dlgServices);
    ShowWindow(frmMain.Handle(), showCommand);
    UpdateWindow(frmMain.Handle());

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!frmMain.TranslateDialogMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    ServerName.clear();
    return 0;
}
