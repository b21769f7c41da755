// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipe_preview.h"

#include <gtest/gtest.h>

#include "design_steps.h"

namespace kestrune {
namespace {

// The standard welded steel heating pipes, DN15 to DN150, inner diameters in mm.
PipeTable standard_pipes() {
    const std::int16_t dn[] = {15, 20, 25, 32, 40, 50, 70, 80, 100, 125, 150};
    const float d[] = {15.75f, 21.25f, 27, 35.75f, 41, 53, 68, 80.5f, 106, 131, 156};
    PipeTable pipes{};
    for (std::size_t i = 0; i < pipes.size(); ++i) {
        pipes[i] = {dn[i], d[i]};
    }
    return pipes;
}

design_state loaded(const char* load, PipeTable pipes = standard_pipes()) {
    design_state s;
    s.pipes = pipes;
    EXPECT_FALSE(enter_load(s, load).has_value());
    return s;
}

TEST(VelocityLimit, FollowsTheTableAndTakesTheSmallerSizesLimitInBetween) {
    struct Case {
        std::int16_t dn;
        float limit;
    };
    for (Case c : {Case{15, 0.8f}, Case{20, 1.0f}, Case{25, 1.2f}, Case{32, 1.4f}, Case{40, 1.8f},
                   Case{50, 2.0f}, Case{150, 2.0f}, Case{32767, 2.0f}, Case{10, 0.8f},
                   Case{1, 0.8f}, Case{19, 0.8f}, Case{24, 1.0f}, Case{31, 1.2f}, Case{49, 1.8f}}) {
        EXPECT_EQ(velocity_limit(c.dn), c.limit) << "DN" << c.dn;
    }
}

TEST(TablePreview, TenKilowattsSuggestDN20WithTheWorkedNumbers) {
    const design_state s = loaded("10000");
    auto preview = preview_table(s);
    ASSERT_TRUE(preview.has_value());
    ASSERT_TRUE((*preview)[1].has_value());
    EXPECT_EQ((*preview)[1]->v, 0.329f);
    EXPECT_EQ((*preview)[1]->r, 101.17f);
    EXPECT_EQ((*preview)[1]->mark, PreviewMark::suggested);
    // DN15 is within its velocity but far above 120 Pa/m; the larger sizes are neither.
    EXPECT_EQ((*preview)[0]->mark, PreviewMark::none);
    EXPECT_GT((*preview)[0]->r, resistance_limit);
    for (std::size_t i = 2; i < preview->size(); ++i) {
        ASSERT_TRUE((*preview)[i].has_value()) << i;
        EXPECT_EQ((*preview)[i]->mark, PreviewMark::none) << i;
    }
}

TEST(TablePreview, LeavesTheRecordAsItWas) {
    design_state s = loaded("10000");
    s.dn = 40;
    s.d = 41;
    s.v = 7;
    s.ycxs = 8;
    s.r = 9;
    const design_state before = s;
    ASSERT_TRUE(preview_table(s).has_value());
    EXPECT_EQ(s.dn, before.dn);
    EXPECT_EQ(s.d, before.d);
    EXPECT_EQ(s.v, before.v);
    EXPECT_EQ(s.ycxs, before.ycxs);
    EXPECT_EQ(s.r, before.r);
}

TEST(TablePreview, ThirtyFiveKilowattsMarkTheFastSmallPipesAndSuggestDN32) {
    // 35000 W: 1444.5 kg/h. DN15 about 2.1 m/s and DN20 about 1.15 m/s are too fast; DN25 is
    // slow enough at about 0.71 m/s but near 330 Pa/m; DN32 gives about 0.41 m/s and 78 Pa/m.
    auto preview = preview_table(loaded("35000"));
    ASSERT_TRUE(preview.has_value());
    EXPECT_EQ((*preview)[0]->mark, PreviewMark::too_fast);
    EXPECT_EQ((*preview)[1]->mark, PreviewMark::too_fast);
    EXPECT_EQ((*preview)[2]->mark, PreviewMark::none);
    EXPECT_EQ((*preview)[3]->mark, PreviewMark::suggested);
    for (std::size_t i = 4; i < preview->size(); ++i) {
        EXPECT_EQ((*preview)[i]->mark, PreviewMark::none) << i;
    }
}

TEST(TablePreview, VelocityExactlyAtTheLimitIsNotTooFast) {
    // Flow chosen so that DN15 (15.75 mm) gives exactly 0.8 m/s after rounding.
    design_state s;
    s.pipes = standard_pipes();
    s.g_design = 551.4f;
    auto preview = preview_table(s);
    ASSERT_TRUE(preview.has_value());
    ASSERT_EQ((*preview)[0]->v, 0.8f);
    EXPECT_EQ((*preview)[0]->mark, PreviewMark::none);
    s.g_design = 551.5f;  // 0.801 m/s
    preview = preview_table(s);
    ASSERT_EQ((*preview)[0]->v, 0.801f);
    EXPECT_EQ((*preview)[0]->mark, PreviewMark::too_fast);
}

TEST(TablePreview, RowsThatCannotBeSizedOrAreShadowedShowNoPreview) {
    PipeTable pipes{};
    pipes[0] = {25, 21.25f};  // answering 25 sizes row 3, not this one
    pipes[1] = {15, 0};       // no inner diameter
    pipes[2] = {-20, 21.25f};
    pipes[3] = {25, 27};
    pipes[4] = {32, -35.75f};
    auto preview = preview_table(loaded("10000", pipes));
    ASSERT_TRUE(preview.has_value());
    for (std::size_t i : {0u, 1u, 2u, 4u, 5u, 10u}) {
        EXPECT_FALSE((*preview)[i].has_value()) << i;
    }
    ASSERT_TRUE((*preview)[3].has_value());
    EXPECT_EQ((*preview)[3]->mark, PreviewMark::suggested);
}

TEST(TablePreview, SuggestsTheSmallestInnerDiameterWhateverTheRowOrder) {
    PipeTable pipes{};
    pipes[0] = {50, 53};
    pipes[1] = {32, 35.75f};
    pipes[2] = {40, 41};
    auto preview = preview_table(loaded("30000", pipes));
    ASSERT_TRUE(preview.has_value());
    EXPECT_EQ((*preview)[1]->mark, PreviewMark::suggested);
    EXPECT_EQ((*preview)[0]->mark, PreviewMark::none);
    EXPECT_EQ((*preview)[2]->mark, PreviewMark::none);
}

TEST(TablePreview, NoRowQualifiesSoNoneIsSuggested) {
    PipeTable pipes{};
    pipes[0] = {15, 15.75f};
    pipes[1] = {20, 21.25f};
    auto preview = preview_table(loaded("100000", pipes));
    ASSERT_TRUE(preview.has_value());
    EXPECT_EQ((*preview)[0]->mark, PreviewMark::too_fast);
    EXPECT_EQ((*preview)[1]->mark, PreviewMark::too_fast);
}

TEST(TablePreview, NoFlowOrNoRowToSizeGivesThePlainList) {
    EXPECT_FALSE(preview_table(loaded("")).has_value());
    EXPECT_FALSE(preview_table(loaded("abc")).has_value());
    EXPECT_FALSE(preview_table(loaded("-100")).has_value());  // every row fails: invalid power
    EXPECT_FALSE(preview_table(loaded("10000", PipeTable{})).has_value());
}

}  // namespace
}  // namespace kestrune

namespace kestrune {
namespace {

TEST(TablePreview, AFlowOfZeroOrBelowGetsNoAdvice) {
    // A negative load gives a negative flow: sizing it would list DN15 at -.299 m/s as
    // suggested. No flow, no preview.
    design_state s;
    s.pipes = standard_pipes();
    for (float flow : {0.0f, -0.0f, -206.35f, -1e-30f}) {
        s.g_design = flow;
        EXPECT_FALSE(preview_table(s).has_value()) << flow;
    }
    s.g_design = 1e-30f;  // positive, but every velocity rounds to 0: nothing to size
    EXPECT_FALSE(preview_table(s).has_value());
}

}  // namespace
}  // namespace kestrune
