// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The head the system needs at its entrance, from the most unfavourable loop.

#include <optional>
#include <string>
#include <vector>

#include "calc_sheet.h"

namespace kestrune {

// Added to the most unfavourable loop's loss for what the calculation cannot see (fittings
// left out, ageing of the pipes): the head to provide is 1.1 times that loss.
inline constexpr double head_allowance = 0.10;
// Pa per metre of water column (conventional, 1 m 水柱 = 9806.65 Pa).
inline constexpr double pascal_per_metre_water = 9806.65;

struct SystemHead {
    std::string critical_loop;
    double critical_loss = 0.0;  // Pa
    double head = 0.0;           // Pa, with the allowance
    // At the entrance: the flow of the segments that leave the source; known in a network only.
    std::optional<double> mass_flow;    // kg/h
    std::optional<double> volume_flow;  // m³/h
    // Against the available pressure, where the engineer gave it.
    std::optional<double> surplus;    // Pa to throttle at the entrance
    std::optional<double> kv;         // m³/h, of a valve throttling it
    std::optional<double> shortfall;  // Pa the entrance does not give
};

// Nothing without a most unfavourable loop.
std::optional<SystemHead> system_head(const CalcSheet& calc);

// The head as the sheet's window and the printed calculation say it: the loss and the head,
// the flow, and the entrance's surplus or shortfall.
std::vector<std::string> head_lines(const SystemHead& head);

}  // namespace kestrune
