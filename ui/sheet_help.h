// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "fitting_table.h"

namespace kestrune {

// F1 in the sheet's window: its keys and commands, how Σξ is written, the fittings of the
// table in use with their ξ and aliases, and the rules of the loops.
std::string sheet_help_text(const FittingTable& fittings);

// The table's fittings a line each: "  90°煨弯  ξ DN15 1.5、…  别名 90度煨弯 … wt".
std::string fitting_lines(const FittingTable& fittings);

// A fitting's ξ as the help lists it: "2" for every size, else "DN15 16、DN20 10、DN50 及以上 7".
std::string fitting_xi_text(const Fitting& fitting);

}  // namespace kestrune
