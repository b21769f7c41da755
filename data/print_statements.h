#pragma once

#include "design_state.h"
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

}  // namespace kestrune
