// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "design_state.h"

namespace kestrune {

// Who chose a row's DN.
enum class DnChoice {
    engineer,  // typed or chosen in the diameter list: fixed, 自动选管径 leaves it
    chosen,    // 自动选管径's recommendation
    balanced,  // narrowed by 平衡管径
};

// One segment (管段) of the hydraulic calculation sheet: a sizing, exactly as it was logged,
// with the parameters it was computed with, and what the engineer adds to it.
struct SheetRow {
    // What the engineer enters.
    std::string segment;                // 管段号, free text
    std::vector<std::string> upstream;  // 上游: the 管段号 its water comes from; none: the source
    float consumer = 0.0f;              // 用户负荷 of the consumer it serves, W; 0: none
    double length = 0.0;                // L, m
    std::string xi_entry;               // Σξ as typed: a number, or fittings with counts
    double xi = 0.0;                    // Σξ it last gave
    std::vector<std::string> loops;     // 环路 the segment belongs to
    std::string note;                   // 备注

    // The sizing, as logged.
    float q_user = 0.0f;    // W
    float q_design = 0.0f;  // W
    float g_design = 0.0f;  // kg/h
    std::int16_t dn = 0;
    DnChoice dn_choice = DnChoice::engineer;
    float v = 0.0f;  // m/s
    float r = 0.0f;  // Pa/m
    // And what produced it.
    float d = 0.0f;     // inner diameter, mm
    float ycxs = 0.0f;  // friction factor λ
    float k_margin = 0.0f;
    float rho = 0.0f;  // kg/m³
    std::int16_t t_supply = 0;
    std::int16_t t_return = 0;
    float nu = 0.0f;       // mm²/s
    float k_rough = 0.0f;  // mm

    bool operator==(const SheetRow&) const = default;
};

// The row of a sizing just done: its values and the parameters in s, its load the consumer's
// and its DN the engineer's.
SheetRow sheet_row_of(const design_state& s);

// The record a row's sizing was made with, for sizing it again: its load, flow and
// parameters, and the pipe table given.
design_state sizing_state_of(const SheetRow& row, const PipeTable& pipes);

// A row takes the results of a new sizing, keeping what the engineer entered.
void take_sizing(SheetRow& row, const design_state& s);

}  // namespace kestrune
