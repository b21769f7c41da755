// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design_state.h"

namespace kestrune::testing {

// The worked example's sizing as the log row holds it: 10000 W, margin 1.2, DN 25 of
// 21.25 mm (v .329, λ .0404, R 101.17).
inline design_state worked_sizing() {
    design_state s;
    s.q_user = 10000.0f;
    s.q_design = 12000.0f;
    s.g_design = 412.71f;
    s.dn = 25;
    s.d = 21.25f;
    s.v = 0.329f;
    s.ycxs = 0.0404f;
    s.r = 101.17f;
    return s;
}

}  // namespace kestrune::testing
