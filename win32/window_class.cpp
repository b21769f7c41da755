// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_class.h"

#include "print_colours.h"

namespace kestrune {

void register_window_class(const wchar_t* name, UINT style) {
    WNDCLASSEXW c{};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &c)) {
        return;
    }
    c.cbSize = sizeof c;
    c.style = style;
    c.lpfnWndProc = DefWindowProcW;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The program's icon (resource 1), in the title bar and the taskbar; none in the tests.
    c.hIcon = LoadIconW(c.hInstance, MAKEINTRESOURCEW(1));
    c.hIconSm = static_cast<HICON>(LoadImageW(c.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    c.lpszClassName = name;
    RegisterClassExW(&c);
}

void centre_window(HWND window, RECT around) {
    if (IsRectEmpty(&around)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, (around.left + around.right - width) / 2,
                 (around.top + around.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT problem_line_colours(HDC dc) {
    SetTextColor(dc, RGB(problem_line_colour.r, problem_line_colour.g, problem_line_colour.b));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace kestrune
