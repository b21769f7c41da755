// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

#include "print_colours.h"

namespace kestrune {

// Small helpers for the system's controls and colours, so that a window names what it makes
// instead of spelling each CreateWindowExW.

// A window's text, whole.
std::wstring window_text(HWND window);

Rgb rgb_of(COLORREF colour);
COLORREF colour_of(Rgb rgb);

// A list view in report mode whose rows the window gives as they are drawn (owner data),
// with grid lines, in the font.
HWND make_list(HWND parent, int id, HFONT font);
// A column of such a list: its title, width in pixels, numbers right-aligned.
void add_column(HWND list, int index, const std::wstring& title, int width, bool right);
// A label of one line, in the font.
HWND make_static(HWND parent, HFONT font);

}  // namespace kestrune
