// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "design_state.h"

namespace kestrune {

// Highest water velocity for hot-water heating pipes in buildings by nominal diameter, m/s
// (GB 50736-2012, table 5.9.13): DN15 0.8, DN20 1.0, DN25 1.2, DN32 1.4, DN40 1.8, DN50 and
// larger 2.0. A DN between two of these takes the limit of the smaller; below DN15, DN15's.
float velocity_limit(std::int16_t dn);

// Highest specific friction resistance of the suggested pipe, Pa/m: the upper end of the
// 60 to 120 Pa/m usually chosen for heating circuits in buildings.
inline constexpr float resistance_limit = 120.0f;

enum class PreviewMark {
    none,
    too_fast,   // v above velocity_limit(dn)
    suggested,  // the smallest inner diameter within both limits
};

// What sizing one table row would show and log.
struct RowPreview {
    float v;  // m/s
    float r;  // Pa/m
    PreviewMark mark;
};

// One entry per table row, nullopt where the row shows its table columns only.
using TablePreview = std::array<std::optional<RowPreview>, pipe_rows>;

// Sizes every row of s.pipes on a copy of s, with the current flow and parameters, exactly as
// the sizing run would; s is not changed. A row has no preview when its DN is not positive,
// its inner diameter is not positive, the sizing meets an arithmetic fault, or its DN stands
// again further down (answering that DN sizes the last such row). Gives nullopt when there is
// no flow to size for (g_design 0 or below) or no row could be sized.
// r_limit: the highest specific resistance of the suggested pipe, Pa/m.
std::optional<TablePreview> preview_table(const design_state& s, float r_limit = resistance_limit);

}  // namespace kestrune
