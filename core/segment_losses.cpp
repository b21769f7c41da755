// SPDX-License-Identifier: GPL-3.0-or-later
#include "segment_losses.h"

namespace kestrune {

SegmentLosses segment_losses(float r, float v, float rho, double length, double xi) {
    SegmentLosses losses;
    const double velocity = v;
    losses.friction = static_cast<double>(r) * length;
    losses.dynamic = static_cast<double>(rho) * velocity * velocity / 2.0;
    losses.local = xi * losses.dynamic;
    losses.total = losses.friction + losses.local;
    return losses;
}

}  // namespace kestrune
