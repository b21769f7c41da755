// SPDX-License-Identifier: GPL-3.0-or-later
#include "design_state.h"

#include <gtest/gtest.h>

#include "design_steps.h"

namespace kestrune {
namespace {

TEST(DesignState, StartsWithTheDefaults) {
    design_state s;
    s.q_user = 5.0f;
    s.dn = 40;
    s.pipes[3] = {25, 21.25f};
    s.reset();
    EXPECT_EQ(s.q_user, 0.0f);
    EXPECT_EQ(s.q_design, 0.0f);
    EXPECT_EQ(s.g_design, 0.0f);
    EXPECT_EQ(s.dt, 25);
    EXPECT_EQ(s.t_supply, 95);
    EXPECT_EQ(s.t_return, 70);
    EXPECT_EQ(s.rho, 983.25f);
    EXPECT_EQ(static_cast<double>(s.k_margin), 1.2000000476837158);
    EXPECT_EQ(static_cast<double>(s.nu), 0.47699999809265137);
    EXPECT_EQ(static_cast<double>(s.k_rough), 0.20000000298023224);
    EXPECT_EQ(s.v, 0.0f);
    EXPECT_EQ(s.ycxs, 0.0f);
    EXPECT_EQ(s.r, 0.0f);
    EXPECT_EQ(s.dn, 0);
    EXPECT_EQ(s.d, 0.0f);
    for (const PipeSize& row : s.pipes) {
        EXPECT_EQ(row.dn, 0);
        EXPECT_EQ(row.d, 0.0f);
    }
}

TEST(DesignState, EitherTemperatureSetsTheDifference) {
    design_state s;
    EXPECT_FALSE(s.set_t_supply(90).has_value());
    EXPECT_EQ(s.dt, 20);
    EXPECT_FALSE(s.set_t_return(60).has_value());
    EXPECT_EQ(s.dt, 30);
    EXPECT_EQ(s.t_supply, 90);
    EXPECT_EQ(s.t_return, 60);
}

TEST(DesignState, DifferenceBeyond16BitsIsRefusedAndChangesNothing) {
    design_state s;
    // 95 - (-32768) and -32768 - 70 are both beyond the 16-bit range.
    EXPECT_EQ(s.set_t_return(-32768), ArithError::overflow);
    EXPECT_EQ(s.set_t_supply(-32768), ArithError::overflow);
    EXPECT_EQ(s.t_supply, 95);
    EXPECT_EQ(s.t_return, 70);
    EXPECT_EQ(s.dt, 25);
    // The widest difference that fits is taken.
    EXPECT_FALSE(s.set_t_supply(32767).has_value());
    EXPECT_FALSE(s.set_t_return(0).has_value());
    EXPECT_EQ(s.dt, 32767);
}

}  // namespace
}  // namespace kestrune
