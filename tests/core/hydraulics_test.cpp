// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics.h"

#include <gtest/gtest.h>

#include "checked_double.h"
#include "design_steps.h"

namespace kestrune {
namespace {

float ok(const Result<float, ArithError>& r) {
    EXPECT_TRUE(r.has_value()) << (r.has_value() ? "" : arith_error_name(r.error()));
    return r.has_value() ? r.value() : -1.0f;
}

TEST(WorkedExample, TenKilowattsThroughDN25) {
    design_state s;
    ASSERT_FALSE(enter_load(s, "10000").has_value());
    EXPECT_EQ(s.q_user, 10000.0f);
    EXPECT_EQ(s.q_design, 12000.0f);
    EXPECT_EQ(s.g_design, 412.71f);

    s.dn = 25;
    s.d = 21.25f;
    ASSERT_FALSE(compute_sizing(s).has_value());
    EXPECT_EQ(s.v, 0.329f);
    EXPECT_EQ(s.ycxs, 0.0404f);
    EXPECT_EQ(s.r, 101.17f);
}

TEST(WorkedExample, FormulasOneByOne) {
    design_state s;
    EXPECT_EQ(ok(q_gexchange(s, 12000.0f)), 412.71f);
    EXPECT_EQ(ok(q_gexchange(s, 1200.0f)), 41.28f);      // raw 41.2706
    EXPECT_EQ(ok(compute_v(s, 41.28f, 15.75f)), 0.06f);  // raw 0.05989
    EXPECT_EQ(ok(compute_v(s, 412.71f, 21.25f)), 0.329f);
    EXPECT_EQ(ok(compute_ycxs(s, 0.329f, 21.25f)), 0.0404f);
    s.ycxs = 0.0404f;
    EXPECT_EQ(ok(compute_r(s, 0.329f, 21.25f)), 101.17f);
}

TEST(WorkedExample, NewSupplyTemperatureChangesTheFlow) {
    design_state s;
    ASSERT_FALSE(s.set_t_supply(90).has_value());
    ASSERT_FALSE(enter_load(s, "1000").has_value());  // design load 1200 W
    EXPECT_EQ(s.g_design, 51.59f);
}

TEST(ScaledRounding, AnyFractionGoesUpAndExactStepsGoToEven) {
    struct Case {
        float x;
        int n;
        float expected;
    };
    for (Case c : {Case{41.25f, 2, 41.26f}, Case{41.5f, 2, 41.5f}, Case{2.341f, 2, 2.35f},
                   Case{-2.341f, 2, -2.34f}, Case{0.25f, 2, 0.26f}, Case{0.5f, 2, 0.5f},
                   Case{0.0f, 3, 0.0f}, Case{0.32892f, 3, 0.329f}, Case{0.040379f, 4, 0.0404f},
                   Case{1.0f, 4, 1.0f}, Case{0.29f, 2, 0.29f}, Case{-0.004f, 2, 0.0f}}) {
        auto r = scaled_round(c.x, c.n);
        ASSERT_TRUE(r.has_value()) << c.x;
        EXPECT_EQ(r.value(), c.expected) << c.x << " to " << c.n << " decimals";
    }
}

TEST(ScaledRounding, ScaledValueBeyond32BitIntegersIsAnOverflow) {
    EXPECT_EQ(scaled_round(21474836.0f, 2).value(), 21474836.0f);
    EXPECT_EQ(scaled_round(21474838.0f, 2).error(), ArithError::overflow);  // next float up
    EXPECT_EQ(scaled_round(-21474838.0f, 2).error(), ArithError::overflow);
    EXPECT_EQ(scaled_round(3e38f, 4).error(), ArithError::overflow);
}

struct FaultCase {
    const char* name;
    design_state state;
    int formula;  // 0 q_gexchange, 1 compute_v, 2 compute_ycxs, 3 compute_r
    float a, b;
    ArithError expected;
    friend std::ostream& operator<<(std::ostream& out, const FaultCase& c) { return out << c.name; }
};

design_state with(void (*change)(design_state&)) {
    design_state s;
    change(s);
    return s;
}

class FormulaFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FormulaFaults, GiveATypedErrorAndNoResult) {
    const FaultCase& c = GetParam();
    Result<float, ArithError> r = 0.0f;
    switch (c.formula) {
        case 0:
            r = q_gexchange(c.state, c.a);
            break;
        case 1:
            r = compute_v(c.state, c.a, c.b);
            break;
        case 2:
            r = compute_ycxs(c.state, c.a, c.b);
            break;
        default:
            r = compute_r(c.state, c.a, c.b);
    }
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error(), c.expected) << arith_error_name(r.error());
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, FormulaFaults,
    ::testing::Values(
        FaultCase{"flow_with_dt_zero", with([](design_state& s) { s.dt = 0; }), 0, 1200.0f, 0.0f,
                  ArithError::division_by_zero},
        FaultCase{"no_load_with_dt_zero", with([](design_state& s) { s.dt = 0; }), 0, 0.0f, 0.0f,
                  ArithError::invalid_operation},
        FaultCase{"flow_too_large", design_state{}, 0, 3e38f, 0.0f, ArithError::overflow},
        FaultCase{"velocity_inner_diameter_zero", design_state{}, 1, 412.71f, 0.0f,
                  ArithError::division_by_zero},
        FaultCase{"velocity_density_zero", with([](design_state& s) { s.rho = 0.0f; }), 1, 412.71f,
                  21.25f, ArithError::division_by_zero},
        FaultCase{"velocity_too_large", design_state{}, 1, 3e38f, 1e-3f, ArithError::overflow},
        FaultCase{"friction_no_velocity", design_state{}, 2, 0.0f, 21.25f,
                  ArithError::division_by_zero},
        FaultCase{"friction_negative_velocity", design_state{}, 2, -0.01f, 21.25f,
                  ArithError::invalid_operation},
        FaultCase{"resistance_inner_diameter_zero", with([](design_state& s) { s.ycxs = 0.04f; }),
                  3, 0.329f, 0.0f, ArithError::division_by_zero}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckedArithmetic, FirstFaultSticksThroughLaterSteps) {
    checked_double big = checked_double(1e300) * 1e300;
    EXPECT_EQ(big.fault(), ArithError::overflow);
    checked_double later = (big / 0.0) + 1.0;
    EXPECT_EQ(later.fault(), ArithError::overflow);
    EXPECT_EQ((checked_double(1.0) / 0.0).fault(), ArithError::division_by_zero);
    EXPECT_EQ((checked_double(0.0) / 0.0).fault(), ArithError::invalid_operation);
    EXPECT_EQ(power(checked_double(-8.0), 0.333).fault(), ArithError::invalid_operation);
    EXPECT_EQ(power(checked_double(0.0), -1.0).fault(), ArithError::division_by_zero);
    EXPECT_FALSE((checked_double(1e-300) * 1e-300).fault().has_value());  // underflow is fine
}

TEST(LoadEntry, StopsAtTheFailedStepAndKeepsLaterFields) {
    design_state s;
    ASSERT_FALSE(enter_load(s, "10000").has_value());
    s.dt = 0;
    auto fault = enter_load(s, "500");
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->step, LoadStep::design_flow);
    EXPECT_EQ(fault->error, ArithError::division_by_zero);
    EXPECT_EQ(s.q_user, 500.0f);
    EXPECT_EQ(s.q_design, 600.0f);
    EXPECT_EQ(s.g_design, 412.71f);  // from the load before

    fault = enter_load(s, "1e39");  // beyond the 32-bit range of q_user
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->step, LoadStep::user_load);
    EXPECT_EQ(s.q_user, 500.0f);

    s.dt = 25;
    s.k_margin = 3e38f;
    fault = enter_load(s, "10");
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->step, LoadStep::design_load);
    EXPECT_EQ(s.q_user, 10.0f);
    EXPECT_EQ(s.q_design, 600.0f);
}

TEST(LoadEntry, LettersAndEmptyTextGiveZero) {
    design_state s;
    ASSERT_FALSE(enter_load(s, "abc").has_value());
    EXPECT_EQ(s.q_design, 0.0f);
    EXPECT_EQ(s.g_design, 0.0f);
    ASSERT_FALSE(enter_load(s, "1").has_value());
    EXPECT_EQ(s.q_design, 1.2f);
    EXPECT_EQ(s.g_design, 0.05f);
}

TEST(Sizing, NoLoadFailsAtTheFrictionFactorAfterStoringTheVelocity) {
    design_state s;
    s.d = 21.25f;
    s.v = 9.0f;
    s.ycxs = 9.0f;
    auto fault = compute_sizing(s);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->step, SizingStep::friction_factor);
    EXPECT_EQ(fault->error, ArithError::division_by_zero);
    EXPECT_EQ(s.v, 0.0f);     // stored by the step before
    EXPECT_EQ(s.ycxs, 9.0f);  // kept
}

}  // namespace
}  // namespace kestrune
