// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the start-up benchmark under Wine: a bare Win32 window of the main
// window's size showing its first Chinese label in the program's SimSun, and nothing else.
#include <windows.h>

#include "dpi.h"
#include "song_font.h"
#include "wide_text.h"
#include "window_layout.h"

namespace {

LRESULT CALLBACK bare_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW type{};
    type.lpfnWndProc = bare_procedure;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = L"KestruneBareWindow";
    RegisterClassW(&type);
    const UINT dpi = kestrune::window_dpi(nullptr);
    RECT frame{0, 0, kestrune::twips_to_pixels(kestrune::frmcompute_window.width, dpi),
               kestrune::twips_to_pixels(kestrune::frmcompute_window.height, dpi)};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowW(
        type.lpszClassName, kestrune::wide_text(kestrune::frmcompute_window.caption).c_str(),
        WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
        frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    HWND label = CreateWindowW(L"STATIC", L"用户负荷(w)：", WS_CHILD | WS_VISIBLE, 8, 8, 200, 24,
                               window, nullptr, instance, nullptr);
    HFONT font = kestrune::make_song_font(9, dpi);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return 0;
}
