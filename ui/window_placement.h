// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrune {

// A window's outer frame on the screen, in the front-end's pixels.
struct ScreenBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A rule of where a window opens: the main window's frame, the window's size, the work area
// and the gap between the two frames give the window's frame.
using PlacementRule = ScreenBox (*)(const ScreenBox& main, int width, int height,
                                    const ScreenBox& area, int gap);

// Where frmchoose opens, so that it hides neither the main window nor the input box centred
// on it: beside the main window (right, then left) or below it (then above) where the work
// area has room; otherwise in the corner of the work area that covers the least of the main
// window. Always inside the work area, as far as the list fits in it.
// gap: between the two windows' frames, in the front-end's pixels (list_gap_twips scaled).
ScreenBox place_list_window(const ScreenBox& main, int width, int height, const ScreenBox& area,
                            int gap);
inline constexpr int list_gap_twips = 120;  // 8 pixels at 96 dpi

// The calculation sheet's window: as large as it asks, as far as the work area allows, and
// beside the main window by the same rule as frmchoose.
ScreenBox place_sheet_window(const ScreenBox& main, int width, int height, const ScreenBox& area,
                             int gap);

}  // namespace kestrune
