#pragma once
// Windows that belong to a C++ object: the object passes itself as the
// creation parameter, learns its window handle at WM_NCCREATE, and answers
// every message from then on in HandleMessage. A class grants access with
//   friend LRESULT CALLBACK ObjectWindowProc<TClass>(HWND, UINT, WPARAM, LPARAM);

#include <windows.h>

template <typename T>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

// Registers a window class for objects of type T, in the button-face colour
// with the arrow cursor, as forms are. False when registration failed.
template <typename T> bool RegisterObjectWindowClass(HINSTANCE instance, const char* className) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ObjectWindowProc<T>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}
