// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrune {

// The pressure losses of one segment, Pa, unrounded.
struct SegmentLosses {
    double friction = 0.0;  // R·L
    double dynamic = 0.0;   // ρv²/2
    double local = 0.0;     // Z = Σξ·ρv²/2
    double total = 0.0;     // ΔP = R·L + Z
};

// From the values as logged (r in Pa/m and v in m/s, as stored after rounding, read as the
// decimals the log shows), the row's own density rho in kg/m³, the length in m and Σξ, in
// double precision.
SegmentLosses segment_losses(float r, float v, float rho, double length, double xi);

}  // namespace kestrune
