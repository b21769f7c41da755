// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the sheet window shows each cell and its titles: the same texts the clipboard and the
// printed calculation take, with the flags in words and in a tone.

#include <cstddef>
#include <string>

#include "frmsheet.h"
#include "window_toolkit.h"

namespace kestrune {

struct ShownCell {
    std::string text;
    Tone tone = Tone::plain;
    bool read_only = false;      // drawn on read_only_background
    bool right_aligned = false;  // numbers
};

// column: an index into sheet_columns (loop_columns).
ShownCell shown_cell(const CalcSheet& calc, std::size_t row, std::size_t column);
ShownCell shown_loop_cell(const frmsheet& sheet, std::size_t loop, std::size_t column);

// A column's width in pixels, given its font's average character width: its width in
// characters (sheet_columns, loop_columns), and never narrower than its title with a
// character and a half of room on either side.
int column_pixels(int average_char_width, int characters, int title_width);

// A column's title in the grid's header: "流速 v (m/s)".
std::string column_title(std::size_t column);
// The loop summary's title, with the imbalance limit it checks against.
std::string loop_summary_title(const frmsheet& sheet);

}  // namespace kestrune
