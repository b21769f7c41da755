// SPDX-License-Identifier: GPL-3.0-or-later
#include "segment_losses.h"

#include "number_text.h"

namespace kestrune {

SegmentLosses segment_losses(float r, float v, float rho, double length, double xi) {
    SegmentLosses losses;
    // The decimals as logged, not the single-precision values' binary tails.
    const double velocity = logged_value(v);
    losses.friction = logged_value(r) * length;
    losses.dynamic = logged_value(rho) * velocity * velocity / 2.0;
    losses.local = xi * losses.dynamic;
    losses.total = losses.friction + losses.local;
    return losses;
}

}  // namespace kestrune
