// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "program_run.h"

namespace kestrune::testing {
namespace {

TEST(MainWindow, StartShowsTheDefaultsAndWritesTheHeader) {
    // State: a working folder with the table. Action: start. Expected: defaults shown, the
    // log holds the header only, the results window hidden, no dialog.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.shown(ControlId::Text1), "");
    EXPECT_EQ(run.shown(ControlId::Text4), "1.2");
    EXPECT_EQ(run.shown(ControlId::Text2), "0");
    EXPECT_EQ(run.shown(ControlId::Text3), "0");
    EXPECT_EQ(run.log(), header_bytes());
    EXPECT_FALSE(run.results().visible);
    EXPECT_EQ(run.state().pipes[2].dn, 25);
    EXPECT_EQ(run.state().pipes[2].d, 21.25f);
}

TEST(MainWindow, TypingALoadKeyByKeyShowsDesignLoadAndFlowAfterEachKey) {
    struct Step {
        const char* typed;
        const char* design_load;
        const char* design_flow;
    };
    const Step steps[] = {
        {"1", "1.2", "0.05"},
        {"10", "12", "0.42"},
        {"100", "120", "4.13"},
        {"1000", "1200", "41.28"},
        {"10000", "12000", "412.71"},
        {"abc", "0", "0"},
        {"", "0", "0"},
        {"1 000", "1200", "41.28"},
        {"-5000", "-6000", "-206.35"},
    };
    ProgramRun run;
    ASSERT_TRUE(run.start());
    for (const Step& s : steps) {
        run.paste_load(s.typed);
        EXPECT_EQ(run.shown(ControlId::Text2), s.design_load) << s.typed;
        EXPECT_EQ(run.shown(ControlId::Text3), s.design_flow) << s.typed;
        EXPECT_EQ(run.shown(ControlId::problem_line), "") << s.typed;
    }
}

TEST(MainWindow, NewMarginTakesEffectAtTheNextLoadChange) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("1000");
    EXPECT_EQ(run.shown(ControlId::Text2), "1200");
    run.type(ControlId::Text4, "1.5");
    EXPECT_EQ(run.state().k_margin, 1.5f);
    EXPECT_EQ(run.shown(ControlId::Text2), "1200");
    run.type_load("10000");
    EXPECT_EQ(run.shown(ControlId::Text2), "15000");
}

TEST(MainWindow, MarginBeyondTheFloatRangeKeepsTheOldOneAndSaysSo) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.paste(ControlId::Text4, "1e39");
    EXPECT_EQ(run.state().k_margin, 1.2f);
    EXPECT_EQ(run.shown(ControlId::problem_line), "富裕系数数值太大，仍用原来的富裕系数。");
    run.paste(ControlId::Text4, "1.1");
    EXPECT_EQ(run.shown(ControlId::problem_line), "");
}

}  // namespace
}  // namespace kestrune::testing
