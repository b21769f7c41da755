// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the sheet window shows each cell and its titles: the same texts the clipboard and the
// printed calculation take, with the flags in words and in a tone.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "calc_sheet.h"
#include "print_colours.h"

namespace kestrune {

struct ShownCell {
    std::string text;
    Tone tone = Tone::plain;
    bool read_only = false;      // drawn on read_only_background
    bool right_aligned = false;  // numbers
};

// column: an index into sheet_columns (loop_columns).
ShownCell shown_cell(const CalcSheet& calc, std::size_t row, std::size_t column);
ShownCell shown_loop_cell(const CalcSheet& calc, std::size_t loop, std::size_t column);

// A cell as it is edited, and as the clipboard copies it: what was typed (Σξ: the fittings,
// not their sum), else as shown.
std::string entry_text(const CalcSheet& calc, std::size_t row, SheetColumn column);
// A loop's segments as shown and printed: in a network its path along the flow, else the
// segments in sheet order.
std::vector<std::size_t> loop_path(const CalcSheet& calc, const LoopResult& loop);
// A cell of the loop summary, as shown.
std::string loop_cell(const CalcSheet& calc, std::size_t loop, LoopColumn column);
// What the loop summary says besides its rows: the network's faults, segments in no loop; and
// the same as one line.
std::vector<std::string> loop_notes(const CalcSheet& calc);
std::string loop_notes_line(const CalcSheet& calc);

// Whether the engineer may type into a column: not the computed ones, nor the loops of a network.
bool cell_editable(const CalcSheet& calc, SheetColumn column);

// A column's title on one line: "流速 v (m/s)".
std::string column_title(std::size_t column);
// The same on the grid's two header lines, the name over its symbol and unit ("流速",
// "v (m/s)"), so that a column is as narrow as its numbers; the second is empty for a
// column with neither.
std::array<std::string, 2> column_title_lines(std::size_t column);
// The loop summary's title, with the imbalance limit it checks against.
std::string loop_summary_title(const CalcSheet& calc);

}  // namespace kestrune
