// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace kestrune {
namespace {

TEST(WholeNumberConversion, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double in;
        std::int16_t out;
    };
    for (Case c : {Case{2.5, 2}, Case{3.5, 4}, Case{-2.5, -2}, Case{-3.5, -4}, Case{25.5, 26},
                   Case{24.5, 24}, Case{92.5, 92}, Case{93.5, 94}, Case{2.4999, 2}, Case{2.5001, 3},
                   Case{0.5, 0}, Case{-0.5, 0}, Case{32767.4, 32767}, Case{-32768.5, -32768}}) {
        auto r = to_int16(c.in);
        ASSERT_TRUE(r.has_value()) << c.in;
        EXPECT_EQ(r.value(), c.out) << c.in;
    }
}

TEST(WholeNumberConversion, OutOfRangeIsAnOverflow) {
    for (double in :
         {32767.5, 32768.0, -32769.0, -32768.51, 1e300, static_cast<double>(INFINITY)}) {
        auto r = to_int16(in);
        ASSERT_FALSE(r.has_value()) << in;
        EXPECT_EQ(r.error(), ArithError::overflow);
    }
    EXPECT_EQ(to_int16(NAN).error(), ArithError::invalid_operation);
    EXPECT_EQ(to_int32(2147483647.5).error(), ArithError::overflow);
    EXPECT_EQ(to_int32(-2147483648.5).value(), -2147483647 - 1);
}

TEST(FloatNarrowing, RoundsToNearestAndRefusesOverflow) {
    EXPECT_EQ(to_float(990.3).value(), 990.3f);
    EXPECT_EQ(to_float(1.2).value(), 1.2f);
    EXPECT_EQ(to_float(1e-50).value(), 0.0f);
    EXPECT_EQ(to_float(FLT_MAX).value(), FLT_MAX);
    // Just below the halfway point to 2^128 still rounds down to the largest float.
    EXPECT_EQ(to_float(static_cast<double>(FLT_MAX) + 0x1p102).value(), FLT_MAX);
    EXPECT_EQ(to_float(static_cast<double>(FLT_MAX) + 0x1p103).error(), ArithError::overflow);
    EXPECT_EQ(to_float(1e39).error(), ArithError::overflow);
    EXPECT_EQ(to_float(-1e39).error(), ArithError::overflow);
    EXPECT_EQ(to_float(INFINITY).error(), ArithError::overflow);
    EXPECT_EQ(to_float(NAN).error(), ArithError::invalid_operation);
}

}  // namespace
}  // namespace kestrune
