// SPDX-License-Identifier: GPL-3.0-or-later
#include "loop_balance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "number_text.h"
#include "segment_losses.h"

namespace kestrune {
namespace {

TEST(SegmentLosses, WorkedRowFromTheLoggedValues) {
    // 10000 W, margin 1.2, defaults, DN 25 of 21.25 mm: v .329, R 101.17; L 12.5 m and
    // 2 × 90° 煨弯 + 1 截止阀 (Σξ 2 × 1.5 + 10 = 13).
    const SegmentLosses l = segment_losses(101.17f, 0.329f, 983.25f, 12.5, 13.0);
    EXPECT_EQ(fixed_text(l.friction, 1), "1264.6");
    EXPECT_EQ(fixed_text(l.dynamic, 1), "53.2");
    EXPECT_EQ(fixed_text(l.local, 1), "691.8");
    EXPECT_EQ(fixed_text(l.total, 1), "1956.4");
    // Unrounded: R·L from 101.17 as logged, not from the single 101.16999817: 1264.625.
    EXPECT_EQ(l.friction, 101.17 * 12.5);
    EXPECT_DOUBLE_EQ(l.total, l.friction + l.local);
}

TEST(SegmentLosses, NoLengthAndNoFittingsLoseNothing) {
    const SegmentLosses l = segment_losses(101.17f, 0.329f, 983.25f, 0.0, 0.0);
    EXPECT_EQ(l.friction, 0.0);
    EXPECT_EQ(l.local, 0.0);
    EXPECT_EQ(l.total, 0.0);
}

struct Segment {
    std::vector<std::string> loops;
    double total;
    double flow;
};

struct Expected {
    std::string name;
    double total;
    bool critical;
    std::optional<double> imbalance;  // shown, to 0.1 %
    bool flagged;
    bool no_own_segments;
};

struct BalanceCase {
    const char* name;
    std::vector<Segment> segments;
    std::vector<std::string> known;
    double limit;
    std::vector<Expected> loops;
    std::vector<std::size_t> in_no_loop;
};

LoopReport balance(const BalanceCase& c) {
    std::vector<LoopSegment> segments;
    for (const Segment& s : c.segments) {
        segments.push_back({&s.loops, s.total, s.flow});
    }
    return balance_loops(segments, c.known, c.limit);
}

TEST(LoopBalance, HandCheckedCases) {
    // Hand-checked: a riser system whose loops 1 and 2 share the supply and return mains
    // (segments 0 and 3) and each have a branch of their own (1 and 2).
    const BalanceCase cases[] = {
        {"shared_mains",
         {{{"1", "2"}, 1000, 1.0}, {{"1"}, 800, 0.5}, {{"2"}, 600, 0.4}, {{"1", "2"}, 200, 1.0}},
         {},
         15,
         // 1: 2000, 2: 1800; own 800 against 600: (800 − 600) / 800 = 25 %.
         {{"1", 2000, true, {}, false, false}, {"2", 1800, false, 25.0, true, false}},
         {}},
        {"at_the_limit_is_not_flagged",
         {{{"1", "2"}, 500, 1.0}, {{"1"}, 1000, 0.5}, {{"2"}, 850, 0.4}},
         {},
         15,
         {{"1", 1500, true, {}, false, false}, {"2", 1350, false, 15.0, false, false}},
         {}},
        {"just_above_as_shown_is_flagged",
         {{{"1"}, 1000, 0.5}, {{"2"}, 849, 0.4}},
         {},
         15,
         {{"1", 1000, true, {}, false, false}, {"2", 849, false, 15.1, true, false}},
         {}},
        {"a_limit_of_the_engineers",
         {{{"1"}, 1000, 0.5}, {{"2"}, 849, 0.4}},
         {},
         20,
         {{"1", 1000, true, {}, false, false}, {"2", 849, false, 15.1, false, false}},
         {}},
        {"loop_within_the_critical_has_no_own_segments",
         {{{"1", "2"}, 1000, 1.0}, {{"1"}, 800, 0.5}},
         {},
         15,
         {{"1", 1800, true, {}, false, false}, {"2", 1000, false, {}, false, true}},
         {}},
        {"segment_in_no_loop_and_a_loop_without_segments",
         {{{"1"}, 1000, 0.5}, {{}, 300, 0.2}},
         {"3", "1"},
         15,
         {{"3", 0, false, {}, false, false}, {"1", 1000, true, {}, false, false}},
         {1}},
        {"no_loops_at_all", {{{}, 300, 0.2}, {{}, 100, 0.2}}, {}, 15, {}, {0, 1}},
    };
    for (const BalanceCase& c : cases) {
        const LoopReport report = balance(c);
        ASSERT_EQ(report.loops.size(), c.loops.size()) << c.name;
        for (std::size_t i = 0; i < c.loops.size(); ++i) {
            const LoopResult& got = report.loops[i];
            const Expected& want = c.loops[i];
            EXPECT_EQ(got.name, want.name) << c.name;
            EXPECT_DOUBLE_EQ(got.total, want.total) << c.name << " " << want.name;
            EXPECT_EQ(got.critical, want.critical) << c.name << " " << want.name;
            EXPECT_EQ(got.imbalance.has_value(), want.imbalance.has_value())
                << c.name << " " << want.name;
            if (got.imbalance && want.imbalance) {
                EXPECT_DOUBLE_EQ(shown_imbalance(*got.imbalance), *want.imbalance)
                    << c.name << " " << want.name;
            }
            EXPECT_EQ(got.flagged, want.flagged) << c.name << " " << want.name;
            EXPECT_EQ(got.no_own_segments, want.no_own_segments) << c.name << " " << want.name;
        }
        EXPECT_EQ(report.segments_in_no_loop, c.in_no_loop) << c.name;
    }
}

TEST(LoopBalance, SurplusAndValveFromTheLargestOwnFlow) {
    // Loop 2's own segments carry 0.4 and 0.9 m³/h; it must absorb 800 − 500 = 300 Pa:
    // Kv = 0.9 / √(300 / 100 000) = 16.43.
    const std::vector<std::string> one{"1"}, two{"2"};
    const std::vector<LoopSegment> segments{{&one, 800, 0.5}, {&two, 200, 0.4}, {&two, 300, 0.9}};
    const LoopReport report = balance_loops(segments, {}, 15);
    ASSERT_EQ(report.loops.size(), 2u);
    const LoopResult& loop = report.loops[1];
    EXPECT_DOUBLE_EQ(loop.surplus, 300.0);
    ASSERT_TRUE(loop.kv.has_value());
    EXPECT_EQ(fixed_text(*loop.kv, 2), "16.43");
    EXPECT_EQ(report.critical, std::optional<std::size_t>(0));
    EXPECT_EQ(fixed_text(valve_kv(1.0, 100000.0), 2), "1.00");
}

}  // namespace
}  // namespace kestrune
