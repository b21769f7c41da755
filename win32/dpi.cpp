// SPDX-License-Identifier: GPL-3.0-or-later
#include "dpi.h"

namespace kestrune {

UINT window_dpi(HWND window) {
    // Looked up at run time: Windows 7 and 8 do not have it.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpi_for_window = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (dpi_for_window != nullptr && window != nullptr) {
        if (const UINT dpi = dpi_for_window(window)) {
            return dpi;
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

}  // namespace kestrune
