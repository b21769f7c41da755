// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The fittings offered while a Σξ entry is typed: those whose name or alias the last part
// of the entry begins (or, for a name, holds), each with its ξ at the row's DN, and the
// entry as it reads once one of them is taken.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fitting_table.h"

namespace kestrune {

inline constexpr std::size_t most_fitting_offers = 8;

struct FittingOffer {
    std::string name;   // as the table writes it
    std::string label;  // "90°煨弯  ξ 1.5  wt" as the list shows it
    std::string taken;  // the whole entry with this fitting taken: "2×90°煨弯"
};

// Nothing while the last part is empty or a plain number.
std::vector<FittingOffer> fitting_offers(std::string_view entry, const FittingTable& table,
                                         std::int16_t dn);

}  // namespace kestrune
