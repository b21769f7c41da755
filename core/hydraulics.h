// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "arith_error.h"
#include "design_state.h"
#include "result.h"

namespace kestrune {

// The four formulas. Each forms its raw value with 64-bit intermediates left to right,
// narrows it to a 32-bit float and rounds it to a fixed number of decimals. None writes the
// state: the caller stores the result. A fault (zero divisor, overflow, invalid operation)
// gives no result.

// Design flow in kg/h from design load q in W, for the temperature difference s.dt; 2 decimals.
Result<float, ArithError> q_gexchange(const design_state& s, const float& q);

// Velocity in m/s from flow g in kg/h and inner diameter d in mm; 3 decimals.
Result<float, ArithError> compute_v(const design_state& s, const float& g, const float& d);

// Friction factor λ from velocity v in m/s and inner diameter d in mm; 4 decimals.
Result<float, ArithError> compute_ycxs(const design_state& s, const float& v, const float& d);

// Specific friction resistance in Pa/m, with the friction factor s.ycxs; 2 decimals.
Result<float, ArithError> compute_r(const design_state& s, const float& v, const float& d);

// Rounds x to n decimals: y = x * 10^n + 0.5, then to a 32-bit integer k with ties to even,
// then k / 10^n. A scaled value that has any fraction therefore goes up to the next step:
// 2.341 gives 2.35, -2.341 gives -2.34, 41.25 gives 41.26, while 41.5 stays 41.5.
Result<float, ArithError> scaled_round(float x, int decimals);

}  // namespace kestrune
