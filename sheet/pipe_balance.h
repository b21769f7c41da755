// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// 平衡管径: parallel loops brought within the imbalance limit by smaller pipes on their own
// segments, before any balancing valve.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "design_state.h"
#include "fitting_table.h"
#include "sheet_file.h"

namespace kestrune {

struct BalanceChange {
    std::size_t row;
    std::int16_t dn_before, dn_after;
    std::string loop;                                      // the loop it was made smaller for
    double imbalance_before = 0.0, imbalance_after = 0.0;  // that loop's, %, unrounded
};

// For each loop over the limit, in the loops' order: of its segments that the most
// unfavourable loop does not share and whose DN the engineer has not fixed, the one whose next
// smaller pipe of the table adds the most loss is made that size, as long as the pipe stays
// within the velocity limit for its DN and no loop then loses as much as the most unfavourable
// one; again until the loop is within the limit or no segment can be made smaller. Each row
// changed once is listed once, with the DN it had first.
std::vector<BalanceChange> balance_pipes(SheetData& sheet, const PipeTable& pipes,
                                         const FittingTable& fittings);

}  // namespace kestrune
