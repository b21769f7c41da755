// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "arith_error.h"

namespace kestrune {

// One row of the pipe table: nominal diameter (DN, mm) and inner diameter (mm).
struct PipeSize {
    std::int16_t dn = 0;
    float d = 0.0f;
};

inline constexpr std::size_t pipe_rows = 11;
using PipeTable = std::array<PipeSize, pipe_rows>;

// Everything one sizing needs and produces. One instance per run, owned by the main window.
// Calculated quantities are 32-bit floats; temperatures, their difference and the nominal
// diameter are 16-bit integers, as the results log and the windows show them.
struct design_state {
    float q_user = 0.0f;         // user load, W
    float q_design = 0.0f;       // design load = k_margin * q_user, W
    float g_design = 0.0f;       // design flow, kg/h
    std::int16_t dt = 25;        // t_supply - t_return, K
    std::int16_t t_supply = 95;  // °C
    std::int16_t t_return = 70;  // °C
    float rho = 983.25f;         // water density, kg/m³
    float k_margin = 1.2f;       // margin factor
    float ycxs = 0.0f;           // friction factor λ
    float nu = 0.477f;           // kinematic viscosity, mm²/s
    float k_rough = 0.2f;        // absolute roughness of the wall, mm
    float v = 0.0f;              // velocity, m/s
    float r = 0.0f;              // specific friction resistance, Pa/m
    PipeTable pipes{};
    std::int16_t dn = 0;  // chosen nominal diameter, mm
    float d = 0.0f;       // inner diameter found for dn, mm

    void reset() { *this = design_state{}; }

    // Set a temperature and dt with it. A difference beyond the 16-bit range is an
    // overflow and changes nothing.
    std::optional<ArithError> set_t_supply(std::int16_t t);
    std::optional<ArithError> set_t_return(std::int16_t t);
};

}  // namespace kestrune
