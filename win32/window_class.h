// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace kestrune {

// Registers a window class of the program once: button-face background, arrow cursor, and the
// default procedure, which each window replaces with its own once it is made.
void register_window_class(const wchar_t* name, UINT style);

// Moves a window so that it stands centred over around: its owner, or the work area of the
// screen when around is empty.
void centre_window(HWND window, RECT around = {});

// The colours of a problem line (a static control) for WM_CTLCOLORSTATIC: the warning colour
// on the button-face ground; gives the brush to return.
LRESULT problem_line_colours(HDC dc);

}  // namespace kestrune
