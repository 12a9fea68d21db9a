#include "ui/background_window.h"

#include "common/win_handle.h"
#include "core/run_state.h"
#include "ui/gradient.h"

namespace {

const char kClassName[] = "QMTRUninstall";

void PaintGradient(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const RgbTriple start = {gradientStart.red, gradientStart.green, gradientStart.blue};
    const RgbTriple delta = {gradientDelta.red, gradientDelta.green, gradientDelta.blue};
    for (int i = 0; i < kGradientBands; ++i) {
        GradientBand band = ComputeGradientBand(i, client.bottom, start, delta);
        RECT area = {0, band.top, client.right, band.bottom};
        win::unique_hgdiobj brush(
            CreateSolidBrush(RGB(band.colour.red, band.colour.green, band.colour.blue)));
        FillRect(dc, &area, static_cast<HBRUSH>(brush.get()));
    }
    EndPaint(window, &paint);
}

} // namespace

extern "C" LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        PaintGradient(window);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_TIMER:
        pumpWaiting = 0; // any timer ends a timed wait of the message pump
        return 0;
    case WM_PALETTECHANGED:
    case WM_QUERYNEWPALETTE:
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterBackgroundClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(101));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
}

HWND CreateBackgroundWindow(HINSTANCE instance) {
    return CreateWindowExA(0, kClassName, " ",
                           WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX, 0, 0, 640, 480,
                           nullptr, nullptr, instance, nullptr);
}
