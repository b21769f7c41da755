// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the engineer types into a cell of the sheet, read by the one rule every number of the
// program is read by.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design_state.h"
#include "fitting_table.h"
#include "pipe_table.h"
#include "sheet_columns.h"
#include "sheet_row.h"

namespace kestrune {

// A non-negative number; a unit after it may stand ("12.5 m"), but not a second number
// ("12,5", "12 ５"). Blank text reads 0.
std::optional<double> non_negative(std::string_view entry);

// Loop names, separated by blanks or commas: "1 2", "1,2", "1、2".
std::vector<std::string> loop_names(std::string_view entry);

// An entry read into a copy of its row: a new DN sizes the copy with the row's own flow and
// parameters, fixes it as the engineer's and sets resized (to be logged once the whole action
// is taken); a blank DN leaves the pipe and frees it for 自动选管径. A note may be left. The
// refusal, if any: the row is then not to be used.
std::optional<std::string> read_entry(SheetRow& row, SheetColumn column, std::string_view entry,
                                      const FittingTable& fittings, const PipeTable& pipes,
                                      bool& resized, std::string& note);

}  // namespace kestrune
