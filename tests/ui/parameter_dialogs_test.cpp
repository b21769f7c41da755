// SPDX-License-Identifier: GPL-3.0-or-later
#include "parameter_dialogs.h"

#include <gtest/gtest.h>

#include <iterator>

#include "program_run.h"

namespace kestrune::testing {
namespace {

TEST(ParameterDialogs, EachHasItsPromptTitleAndDefault) {
    // How the buttons ask with them: the conformance scenarios.
    struct Row {
        ControlId button;
        const char* prompt;
        const char* title;
        const char* offered;
    };
    const Row rows[] = {
        {ControlId::cmdset1, "请你输入需要的密度：", "密度更改！", "983.25"},
        {ControlId::cmdset2, "请你输入新的供水温度：", "供水温度更改！", "95"},
        {ControlId::cmdset3, "请你输入新的回水温度：", "回水温度更改！", "70"},
        {ControlId::cmdset4, "请你输入新的粘滞系数：", "粘滞系数更改！", "0.477"},
    };
    ASSERT_EQ(std::size(rows), parameter_dialogs.size());
    for (std::size_t i = 0; i < parameter_dialogs.size(); ++i) {
        const ParameterDialog& dialog = parameter_dialogs[i];
        EXPECT_EQ(dialog.button, rows[i].button);
        EXPECT_EQ(dialog.prompt, rows[i].prompt);
        EXPECT_EQ(dialog.title, rows[i].title);
        EXPECT_EQ(offered_answer(dialog), rows[i].offered);
    }
}

TEST(ParameterDialogs, DensityAlwaysOffersTheFactoryValue) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.toolkit.answer_input("990.3");
    run.click(ControlId::cmdset1);
    EXPECT_EQ(run.state().rho, 990.3f);
    InputRequest seen;
    run.toolkit.cancel_input(&seen);
    run.click(ControlId::cmdset1);
    EXPECT_EQ(seen.offered, "983.25");
    EXPECT_EQ(run.state().rho, 990.3f);
    run.toolkit.answer_input("0.5");
    run.click(ControlId::cmdset4);
    EXPECT_EQ(run.state().nu, 0.5f);
}

TEST(ParameterDialogs, NewSupplyTemperatureChangesTheFlowAtTheNextLoadChange) {
    // State: load 100 (flow 4.13). Action: supply 90. Expected: flow unchanged until the
    // load box changes, then 51.59 for 1000 W.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.type_load("100");
    run.toolkit.answer_input("90");
    run.click(ControlId::cmdset2);
    EXPECT_EQ(run.state().dt, 20);
    EXPECT_EQ(run.shown(ControlId::Text3), "4.13");
    run.type_load("1000");
    EXPECT_EQ(run.shown(ControlId::Text2), "1200");
    EXPECT_EQ(run.shown(ControlId::Text3), "51.59");
}

TEST(ParameterDialogs, TemperaturesRoundHalvesToEvenAndSetTheDifference) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.toolkit.answer_input("92.5");
    run.click(ControlId::cmdset2);
    EXPECT_EQ(run.state().t_supply, 92);
    run.toolkit.answer_input("93.5");
    run.click(ControlId::cmdset2);
    EXPECT_EQ(run.state().t_supply, 94);
    run.toolkit.answer_input("60");
    run.click(ControlId::cmdset3);
    EXPECT_EQ(run.state().t_return, 60);
    EXPECT_EQ(run.state().dt, 34);
}

TEST(ParameterDialogs, CancelKeepsEveryParameter) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    for (ControlId button :
         {ControlId::cmdset1, ControlId::cmdset2, ControlId::cmdset3, ControlId::cmdset4}) {
        run.toolkit.cancel_input();
        run.click(button);
    }
    const design_state& s = run.state();
    EXPECT_EQ(s.rho, 983.25f);
    EXPECT_EQ(s.t_supply, 95);
    EXPECT_EQ(s.t_return, 70);
    EXPECT_EQ(s.dt, 25);
    EXPECT_EQ(s.nu, 0.477f);
}

TEST(ParameterDialogs, EmptyAnswerReadsAsZero) {
    // An empty answer confirmed with OK reads as 0: taken for a temperature, refused for the
    // density, which must be positive.
    ProgramRun run;
    ASSERT_TRUE(run.start());
    run.toolkit.answer_input("");
    run.click(ControlId::cmdset3);
    EXPECT_EQ(run.state().t_return, 0);
    EXPECT_EQ(run.state().dt, 95);
    std::string message;
    run.toolkit.answer_input("");
    run.toolkit.expect_message(&message);
    run.click(ControlId::cmdset1);
    EXPECT_EQ(run.state().rho, 983.25f);
    EXPECT_EQ(message, "密度须是大于 0 的有限数，“”不行。密度仍为 983.25。");
}

TEST(ParameterDialogs, DensityAndViscosityMustBePositiveAndFinite) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    const std::string megabyte_of_fives(1 << 20, '5');
    for (const std::string answer : {"0", "-5", "1e39", "1e999", "abc", "-0", "1e-50", "NaN", "inf",
                                     "-inf", megabyte_of_fives.c_str()}) {
        for (ControlId button : {ControlId::cmdset1, ControlId::cmdset4}) {
            std::string message;
            run.toolkit.answer_input(answer);
            run.toolkit.expect_message(&message);
            run.click(button);
            EXPECT_NE(message.find("大于 0"), std::string::npos) << answer.substr(0, 20);
            EXPECT_LT(message.size(), 400u);
        }
    }
    EXPECT_EQ(run.state().rho, 983.25f);
    EXPECT_EQ(run.state().nu, 0.477f);
}

TEST(ParameterDialogs, TemperaturesBeyond16BitsAreRefused) {
    ProgramRun run;
    ASSERT_TRUE(run.start());
    std::string message;
    run.toolkit.answer_input("40000");
    run.toolkit.expect_message(&message);
    run.click(ControlId::cmdset2);
    EXPECT_EQ(message, "供水温度“40000”超出范围（须在 -32768 到 32767 之间）。供水温度仍为 95。");
    EXPECT_EQ(run.state().t_supply, 95);

    // -32768 fits a temperature, but 95 - (-32768) does not fit the difference.
    run.toolkit.answer_input("-32768");
    run.toolkit.expect_message(&message);
    run.click(ControlId::cmdset3);
    EXPECT_EQ(message,
              "供回水温差超出范围（须在 -32768 到 32767 之间）。温度保持不变：供水 95，回水 70。");
    EXPECT_EQ(run.state().t_return, 70);
    EXPECT_EQ(run.state().dt, 25);
}

}  // namespace
}  // namespace kestrune::testing
