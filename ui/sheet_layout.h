// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string_view>
#include <vector>

#include "print_colours.h"
#include "sheet_cells.h"
#include "sheet_columns.h"
#include "window_layout.h"
#include "window_placement.h"

namespace kestrune {

// The sheet's window: its size and its parts' measures; the columns are the sheet's own
// (sheet_columns.h), the commands and their keys the grid's (sheet_keys.h).

// The sheet's window: resizable, opened beside the main window (place_sheet_window). Its
// size is the one it asks for; a smaller screen gets what fits. Top to bottom: a row of
// the commands' buttons, the grid, the message line, the loop summary's title, the loop
// summary and its notes. Sizes in twips.
inline constexpr WindowSpec frmsheet_window{"frmsheet", "计算表",          15600,
                                            9600,       Placement::system, false};
struct SheetWindowLayout {
    int margin;
    int button_width, button_height;  // the narrowest button
    int line_height;                  // the message line, the loop summary's title and its notes
    int loops_height;                 // the loop summary's table
    double points;                    // the grid's SimSun size, as the main window's boxes
};
inline constexpr SheetWindowLayout sheet_window_layout{120, 900, 420, 330, 1800, 10.5};

// A command button's width for its caption, in twips: the caption with room on either side.
int button_twips(std::string_view caption);

// A column's width in pixels, given its font's average character width: its width in
// characters (sheet_columns, loop_columns), and never narrower than its title (its widest
// line) with a character of room on either side.
int column_pixels(int average_char_width, int characters, int title_width);
// The row numbers' column: room for five digits.
int row_number_pixels(int average_char_width);
// A row of the grid: its font's height and 8 pixels at 96 dpi; px turns twips into the
// front-end's pixels.
int row_pixels(int font_height, const std::function<int(int)>& px);

// The width of the sheet's client area as it opens, in pixels: the window's own, or more
// where the grid (grid_width: its columns, row numbers, frame and scroll bar) needs it to
// show every column. A screen too small for it gets what fits (place_sheet_window).
int sheet_window_width(int grid_width, const std::function<int(int)>& px);

// The least size of the sheet's client area, in twips: a third of the width and half the
// height it asks for, enough for a few rows and the loop summary.
inline constexpr int sheet_least_width = frmsheet_window.width / 3;
inline constexpr int sheet_least_height = frmsheet_window.height / 2;

// Where each part of the sheet's window stands in a client area of width × height pixels.
// With a network, its sketch (系统简图) stands beside the grid where the grid still shows
// every column (grid_width, as for sheet_window_width) and the sketch keeps at least
// sketch_least_width, and takes the rest; otherwise it takes the lower half of the grid's
// room, so that no column is given up for it. Without a network, no sketch.
struct SheetWindowBoxes {
    std::vector<ScreenBox> buttons;  // the commands that have a button, in their table's order
    ScreenBox grid, sketch, message, loops_title, loops, notes;
};
SheetWindowBoxes sheet_window_boxes(int width, int height, const std::function<int(int)>& px,
                                    bool with_sketch, int grid_width);
// The narrowest sketch beside the grid, in twips.
inline constexpr int sketch_least_width = 4500;

// The sketch's zoom steps; Ctrl with the wheel moves between them.
inline constexpr double sketch_zooms[] = {0.5, 0.67, 0.8, 1.0, 1.25, 1.5, 2.0};
// The zoom steps away from the given one, kept within the steps.
double next_sketch_zoom(double zoom, int steps);
// A length of the sketch (twips) at a zoom, in the front-end's pixels (px: twips to pixels).
int sketch_pixels(int twips, double zoom, const std::function<int(int)>& px);
inline constexpr std::string_view sketch_tip = "单击管段即选中它的行；按住 Ctrl 滚动滚轮缩放。";

// The fittings offered while a Σξ is typed, in a list under the cell being edited, or over
// it when the window has no room below: count lines of line_height, as wide as the cell or
// the widest offer (widest_text, its padding included). Pixels of the window's client area.
ScreenBox offers_box(const ScreenBox& cell, std::size_t count, int line_height, int widest_text,
                     int window_height);

// The colours the system gives a window's parts, and those of one cell drawn in it.
struct SystemColours {
    Rgb text, base;                 // a list's
    Rgb highlight_text, highlight;  // a selection's
    Rgb header_text, header;        // a button face's: the row numbers
};
struct CellColours {
    Rgb text, ground;
};
// A cell's: the selection's where it is selected, else its tone on its ground (a read-only
// cell's a shade towards the text).
CellColours cell_colours(const ShownCell& cell, bool selected, const SystemColours& system);

}  // namespace kestrune
