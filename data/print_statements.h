// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design_state.h"
#include "pipe_preview.h"
#include "print_line.h"

namespace kestrune {

// The print statements of the program, shared by the results log and the print windows.

// Results log header: six labels back to back.
PrintStatement log_header();
// Results window header: six labels, one per zone.
PrintStatement results_header();
// The results of the last sizing: q_user, q_design, g_design, dn, v, r, one per zone.
// This one statement is both the log row and the values line of the results window.
PrintStatement result_values(const design_state& s);
// Diameter choice window: header and one row per table row.
PrintStatement diameter_list_header();
PrintStatement diameter_list_row(const PipeSize& row);

// The diameter list with the preview: the same header and rows, followed by the velocity and
// the specific resistance in zones 3 and 4 and the row's mark after them; the note says what
// the marks mean. Items from preview_first_item on belong to the preview.
inline constexpr std::size_t preview_first_item = 2;
PrintStatement diameter_preview_header();
PrintStatement diameter_preview_row(const PipeSize& row, const RowPreview& preview);
PrintStatement diameter_preview_note();

}  // namespace kestrune
