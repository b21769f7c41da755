// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace kestrune {

// The dots per inch a window is drawn at: its monitor's where the system tells (Windows 10
// and later), the screen's otherwise.
UINT window_dpi(HWND window);

// Every pixel size of the program comes through here: twips (1/1440 inch) at dpi.
inline int twips_to_pixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}
inline int pixels_to_twips(int pixels, UINT dpi) {
    return MulDiv(pixels, 1440, static_cast<int>(dpi));
}

// A font height in logical units for a size in points at dpi (negative: the character
// height, as CreateFontW takes it).
inline int font_height(double points, UINT dpi) {
    return -MulDiv(static_cast<int>(points * 10 + 0.5), static_cast<int>(dpi), 720);
}

}  // namespace kestrune
