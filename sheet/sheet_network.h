// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The sheet's rows as a network: what each row carries, its loops, and the pipes chosen for it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "design_state.h"
#include "fitting_table.h"
#include "network.h"
#include "sheet_file.h"

namespace kestrune {

// The rows as the network finder takes them (pointing into rows).
std::vector<NetworkSegment> network_segments(const std::vector<SheetRow>& rows);
bool network_given(const std::vector<SheetRow>& rows);

// Each row's load and flow from what it carries, by the sizing run's own operations, and its
// pipe's v, λ and R anew for that flow. With a network (some row names an 上游): a row carries
// the consumers of every loop through it, and the loops are the ones found. Without one: a
// row carries its own consumer. Where the network has a fault nothing is derived, and a row
// whose sizing fails keeps what it had: the rows of either are given back.
std::vector<std::size_t> settle_network(SheetData& sheet);

// 自动选管径: every row whose DN the engineer has not fixed, and which has a flow, takes the
// DN the diameter list recommends (推荐) for it; where none qualifies, the largest.
struct PipeChoice {
    std::size_t row;
    std::int16_t dn_before;
    std::int16_t dn_after;
    bool within_limits;  // false: the largest, still too fast or too resistant
};
std::vector<PipeChoice> choose_pipes(SheetData& sheet, const PipeTable& pipes,
                                     const FittingTable& fittings);

// A row typed into the sheet rather than sized: the parameters of the row like (the program's
// own when there is none), the next 管段号, and nothing yet to size.
SheetRow typed_row(const std::vector<SheetRow>& rows, std::size_t like);

// After a new DN: Σξ of the fittings at that DN. When the entry no longer gives a sum the row
// keeps its Σξ, and a note says so (only the first, when note is still empty).
void refresh_xi(SheetRow& row, const FittingTable& fittings, std::string& note);

}  // namespace kestrune
